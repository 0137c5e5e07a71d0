#pragma once
// A message's file written under a working name of its folder, ".palvenor-N.tmp" (hidden on POSIX by
// the dot), and given its final name only once it is written whole and closed: a run cut off at any
// moment, or a disk that fails, never leaves a partial file under a message's name.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "engine/writing/MessageFile.h"
#include "platform/OutputFolder.h"

class StagedFile {
 public:
  // workingNumber is the folder's next N, counted on past names taken. The file is made with the first
  // bytes, or by Close when there are none.
  StagedFile(const platform::OutputFolder& folder, std::int32_t& workingNumber)
      : folder_(folder), workingNumber_(workingNumber) {}
  // A working file neither given its name nor discarded (an exception on the way) is removed.
  ~StagedFile();
  // The working file goes with the move, as when the writer hands a closed file on to be named.
  StagedFile(StagedFile&& other) noexcept
      : folder_(other.folder_),
        workingNumber_(other.workingNumber_),
        working_(std::exchange(other.working_, {})),
        file_(std::exchange(other.file_, std::nullopt)) {}
  StagedFile& operator=(StagedFile&&) = delete;

  [[nodiscard]] bool Append(std::span<const std::uint8_t> bytes, platform::OsError& error);
  // Whether the file was made.
  bool Made() const { return !working_.empty(); }
  // Makes the file if nothing was appended, writes the rest, dates it unless time is zero (see
  // MessageFile::Close) and closes it.
  [[nodiscard]] bool Close(platform::OsError& error, platform::FileTime time);
  // Gives the closed file the name, never replacing an entry; Created once it has it.
  [[nodiscard]] platform::CreateResult Publish(std::u16string_view name, platform::OsError& error);
  // Removes the working file, closed first as Windows needs; the working name when it could not be
  // removed, else nothing.
  std::u16string Discard();

 private:
  [[nodiscard]] bool Make(platform::OsError& error);

  const platform::OutputFolder& folder_;
  std::int32_t& workingNumber_;
  std::u16string working_;           // the working name, from the file's making to its renaming
  std::optional<MessageFile> file_;  // open until closed
};
