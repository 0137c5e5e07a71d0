#pragma once
// A working file "Recover" + N + ".eml", written in large pieces rather than block by block.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/Files.h"

class WorkingFile {
 public:
  [[nodiscard]] static std::optional<WorkingFile> Create(const std::u16string& path, platform::OsError& error);

  const std::u16string& Path() const { return path_; }
  // Collects the bytes, writing them out whenever enough have gathered.
  [[nodiscard]] bool Append(std::span<const std::uint8_t> bytes, platform::OsError& error);
  // Writes what is left and closes the file.
  [[nodiscard]] bool Close(platform::OsError& error);

 private:
  WorkingFile(std::u16string path, platform::OutputFile file) : path_(std::move(path)), file_(std::move(file)) {}
  [[nodiscard]] bool Flush(platform::OsError& error);

  std::u16string path_;
  platform::OutputFile file_;
  std::vector<std::uint8_t> pending_;
};
