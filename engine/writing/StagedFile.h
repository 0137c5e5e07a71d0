#pragma once
// A message's file written without a name where the folder's file system makes such files (Linux's
// O_TMPFILE), else under a working name of its folder, ".palvenor-N.tmp" (hidden on POSIX by the dot),
// and given its final name only once it is written whole: a run cut off at any moment, or a disk that
// fails, never leaves a partial file under a message's name. An unnamed file costs one directory entry,
// as a file made under its final name does, where a working name costs two; and it leaves nothing behind.
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
        unnamed_(std::exchange(other.unnamed_, false)),
        file_(std::exchange(other.file_, std::nullopt)) {}
  StagedFile& operator=(StagedFile&&) = delete;

  [[nodiscard]] bool Append(std::span<const std::uint8_t> bytes, platform::OsError& error);
  // Writes the bytes out at once (see MessageFile::Write).
  [[nodiscard]] bool Write(std::span<const std::uint8_t> bytes, platform::OsError& error);
  // Whether the file was made.
  bool Made() const { return unnamed_ || !working_.empty(); }
  // Makes the file if nothing was appended, writes the rest and dates it unless time is zero (see
  // MessageFile::Finish). A working file is closed; an unnamed one stays open until it has its name.
  [[nodiscard]] bool Close(platform::OsError& error, platform::FileTime time);
  // Gives the file written whole the name, never replacing an entry; Created once it has it.
  [[nodiscard]] platform::CreateResult Publish(std::u16string_view name, platform::OsError& error);
  // Removes the file not yet named, closed first as Windows needs; the working name when it could not
  // be removed, else nothing.
  std::u16string Discard();

 private:
  [[nodiscard]] bool Make(platform::OsError& error);

  const platform::OutputFolder& folder_;
  std::int32_t& workingNumber_;
  std::u16string working_;           // the working name, from the file's making to its renaming
  bool unnamed_ = false;             // made without a name, and not named yet
  std::optional<MessageFile> file_;  // open until closed, and an unnamed file until named
};
