#pragma once
// Files and folders for the engine: the store is only ever opened for reading.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

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

// A file opened for reading only, shared so that the mail client may keep it open and write it.
class StoreFile {
 public:
  static std::optional<StoreFile> Open(const std::u16string& path, OsError& error);
  StoreFile(StoreFile&& other) noexcept;
  StoreFile& operator=(StoreFile&& other) noexcept;
  StoreFile(const StoreFile&) = delete;
  StoreFile& operator=(const StoreFile&) = delete;
  ~StoreFile();

  // Length in bytes, or -1 when it cannot be determined.
  std::int64_t Length() const;
  // Reads up to out.size() bytes at offset; returns the count read (short at the end of the file),
  // or -1 when the read fails.
  std::int64_t ReadAt(std::int64_t offset, std::span<std::uint8_t> out) const;

 private:
  explicit StoreFile(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_;
};

// A new file opened for writing (an existing one of that name is truncated).
class OutputFile {
 public:
  static std::optional<OutputFile> Create(const std::u16string& path, OsError& error);
  // A new file where no entry of that name exists; when one does, nullopt and AlreadyExists(error).
  static std::optional<OutputFile> CreateNew(const std::u16string& path, OsError& error);
  OutputFile(OutputFile&& other) noexcept;
  OutputFile& operator=(OutputFile&& other) noexcept;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();

  bool Write(std::span<const std::uint8_t> bytes, OsError& error);
  // Closes now so that a failure can be reported; the destructor closes silently.
  bool Close(OsError& error);

 private:
  explicit OutputFile(std::intptr_t handle) : handle_(handle) {}
  // mode: the system's open flag for an existing file, to truncate it or to refuse it.
  static std::optional<OutputFile> Open(const std::u16string& path, int mode, OsError& error);
  std::intptr_t handle_;
};

// Whether a failure came from an entry of that name that exists already.
bool AlreadyExists(const OsError& error);

bool CreateFolder(const std::u16string& path, OsError& error);
// True when any entry of that name exists, folders included.
bool PathExists(const std::u16string& path);
bool RemoveFile(const std::u16string& path);

// Puts the files of a finished run on the disk, so that a crash right after the report cannot leave
// them empty or missing. forEachFile calls its argument with the path of every file of the run; where the
// system can flush a whole file system at once, it is not called.
using FileVisitor = std::function<void(const std::u16string& path)>;
void FlushToDisk(const std::u16string& folder, const std::function<void(const FileVisitor&)>& forEachFile);

enum class RenameResult { Renamed, TargetExists, Failed };
// Renames without ever replacing an existing entry: TargetExists is told apart from every other failure.
// A file's own path counts as taken (Windows would report success there).
RenameResult RenameNoReplace(const std::u16string& from, const std::u16string& to, OsError& error);

}  // namespace platform
