#pragma once
// A message's file, written in large pieces rather than block by block.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/Files.h"

class MessageFile {
 public:
  // Takes over a file just made.
  explicit MessageFile(platform::OutputFile file) : file_(std::move(file)) {}

  // Collects the bytes, writing them out whenever enough have gathered.
  [[nodiscard]] bool Append(std::span<const std::uint8_t> bytes, platform::OsError& error);
  // Writes the bytes out at once, after those collected.
  [[nodiscard]] bool Write(std::span<const std::uint8_t> bytes, platform::OsError& error);
  // Writes what is left and sets both times to time on the open file unless it is zero (the system's
  // refusal is ignored, as for a time set by path); the file stays open.
  [[nodiscard]] bool Finish(platform::OsError& error, platform::FileTime time = 0);
  // Finishes the file and closes it.
  [[nodiscard]] bool Close(platform::OsError& error, platform::FileTime time = 0);
  const platform::OutputFile& File() const { return file_; }

 private:
  [[nodiscard]] bool Flush(platform::OsError& error);

  platform::OutputFile file_;
  std::vector<std::uint8_t> pending_;
};
