#pragma once
// A message's file, written in large pieces rather than block by block.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/Files.h"

class WorkingFile {
 public:
  [[nodiscard]] static std::optional<WorkingFile> Create(const std::u16string& path, platform::OsError& error);
  // Takes over a file just made; path names it in messages.
  WorkingFile(std::u16string path, platform::OutputFile file) : path_(std::move(path)), file_(std::move(file)) {}

  const std::u16string& Path() const { return path_; }
  // Collects the bytes, writing them out whenever enough have gathered.
  [[nodiscard]] bool Append(std::span<const std::uint8_t> bytes, platform::OsError& error);
  // Writes what is left, sets both times to time on the open file unless it is zero (the system's
  // refusal is ignored, as for a time set by path), and closes the file.
  [[nodiscard]] bool Close(platform::OsError& error, platform::FileTime time = 0);

 private:
  [[nodiscard]] bool Flush(platform::OsError& error);

  std::u16string path_;
  platform::OutputFile file_;
  std::vector<std::uint8_t> pending_;
};
