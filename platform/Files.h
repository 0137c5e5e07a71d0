#pragma once
// Files and folders for the engine: the store is only ever opened for reading.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/ByteRange.h"
#include "platform/FileTimes.h"
#include "platform/OsHandle.h"
#include "platform/WriteFaults.h"

namespace platform {

#ifdef _WIN32
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

// What the operating system said when a call failed.
struct OsError {
  int code = 0;
  std::u16string text;
};

// Whether a path can be opened as a store: only a regular file (or a link to one) can, and on POSIX a
// block device, read like an image of it. Told without opening it, since opening a FIFO would wait for a
// writer.
enum class PathKind { RegularFile, BlockDevice, NotRegularFile, Missing };
[[nodiscard]] PathKind KindOfPath(const std::u16string& path);

// The second handle of a store that reads past the system's cache; each platform has its own.
struct UncachedReads;

// A file opened for reading only, shared so that the mail client may keep it open and write it.
class StoreFile {
 public:
  // unreadable: ranges known to be bad (a ddrescue map's, or a test's), which fail every read that
  // touches them as a bad sector's read fails.
  [[nodiscard]] static std::optional<StoreFile> Open(const std::u16string& path, OsError& error,
                                                     const std::vector<ByteRange>& unreadable = {});

  // Length in bytes, or -1 when it cannot be determined.
  [[nodiscard]] std::int64_t Length() const;
  // Reads up to out.size() bytes at offset; returns the count read (short at the end of the file),
  // or -1 when the read fails.
  [[nodiscard]] std::int64_t ReadAt(std::int64_t offset, std::span<std::uint8_t> out) const;
  // Reads as ReadAt does, but past the system's cache, through a second handle opened on first use. The
  // cache reads, fails and reads again whole chunks of up to 2 MiB, bad sector and good ones alike; an
  // uncached read fails only where its own sectors are bad. Where the file system refuses uncached
  // reads (tmpfs, some FUSE), it reads through the cache. Safe to call from several threads at once.
  [[nodiscard]] std::int64_t ReadUncachedAt(std::int64_t offset, std::span<std::uint8_t> out) const;
  // The device's sector that an uncached read reads at the least, whole and aligned (512 or more); 0
  // where uncached reads are refused.
  [[nodiscard]] std::int64_t UncachedSectorSize() const;

 private:
  StoreFile(OsHandle handle, const std::vector<ByteRange>& unreadable, std::shared_ptr<UncachedReads> uncached)
      : handle_(std::move(handle)), uncached_(std::move(uncached)) {
    for (const ByteRange& range : unreadable) AddMerged(unreadable_, range);
  }
  OsHandle handle_;
  std::vector<ByteRange> unreadable_;  // merged, ascending
  std::shared_ptr<UncachedReads> uncached_;
};

// A new file opened for writing (an existing one of that name is truncated).
class OutputFile {
 public:
  [[nodiscard]] static std::optional<OutputFile> Create(const std::u16string& path, OsError& error);

  [[nodiscard]] bool Write(std::span<const std::uint8_t> bytes, OsError& error);
  // Sets the times that are not zero on the open file, as TimeStampFile::SetTimes does; call it after
  // the last Write. False when the system refused.
  [[nodiscard]] bool SetTimes(FileTime creation, FileTime lastWrite) const;
  // Cuts the file back to its first length bytes, the next Write going on from there; whether it was.
  [[nodiscard]] bool TruncateTo(std::int64_t length);
  // Closes now so that a failure can be reported; the destructor closes silently.
  [[nodiscard]] bool Close(OsError& error);

 private:
  friend class OutputFolder;
  OutputFile(OsHandle handle, WriteFaultPlan faults) : handle_(std::move(handle)), faults_(std::move(faults)) {}
  OsHandle handle_;
  WriteFaultPlan faults_;  // consulted before every write
};

// The run's folder. Recovered mail is private: on POSIX only its owner may enter it, whatever the umask.
[[nodiscard]] bool CreateFolder(const std::u16string& path, OsError& error);
// True when any entry of that name exists, folders included.
[[nodiscard]] bool PathExists(const std::u16string& path);
// Whether the file went; callers that ignore a failed deletion may drop the answer.
bool RemoveFile(const std::u16string& path);
// Removes a folder that is empty; whether it went.
bool RemoveFolder(const std::u16string& path);

// Puts the files of a finished run on the disk, so that a crash right after the report cannot leave
// them empty or missing. forEachFile calls its argument with the path of every file of the run; where the
// system can flush a whole file system at once, it is not called. False, with the system's reason, when
// any flush failed: the files may then not be on the disk. Each flush counts as a Flush call of faults.
using FileVisitor = std::function<void(const std::u16string& path)>;
[[nodiscard]] bool FlushToDisk(const std::u16string& folder, const std::function<void(const FileVisitor&)>& forEachFile,
                               OsError& error, const WriteFaultPlan& faults = nullptr);

enum class RenameResult { Renamed, TargetExists, Failed };
// Renames without ever replacing an existing entry: TargetExists is told apart from every other failure.
// A file's own path counts as taken (Windows would report success there).
[[nodiscard]] RenameResult RenameNoReplace(const std::u16string& from, const std::u16string& to, OsError& error);

}  // namespace platform
