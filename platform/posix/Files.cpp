#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Utf.h"
#include "platform/posix/Errors.h"

namespace platform {
namespace {

using posix::ErrorFromErrno;

int Fd(const OsHandle& handle) { return static_cast<int>(handle.Get()); }

}  // namespace

std::optional<StoreFile> StoreFile::Open(const std::u16string& path, OsError& error,
                                         const std::vector<ByteRange>& unreadable) {
  const int fd = ::open(ToPathBytes(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = ErrorFromErrno(errno);
    return std::nullopt;
  }
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    error = ErrorFromErrno(EISDIR);
    return std::nullopt;
  }
  return StoreFile(OsHandle(fd), unreadable);
}

std::int64_t StoreFile::Length() const {
  struct stat info {};
  if (::fstat(Fd(handle_), &info) != 0) return -1;
  // A block device has no size of its own in its status; seeking to its end tells it.
  if (S_ISBLK(info.st_mode)) return static_cast<std::int64_t>(::lseek(Fd(handle_), 0, SEEK_END));
  return static_cast<std::int64_t>(info.st_size);
}

std::int64_t StoreFile::ReadAt(std::int64_t offset, std::span<std::uint8_t> out) const {
  if (offset < 0) return -1;
  if (Touches(unreadable_, offset, static_cast<std::int64_t>(out.size()))) {
    errno = EIO;
    return -1;
  }
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t got = ::pread(Fd(handle_), out.data() + done, out.size() - done,
                                static_cast<off_t>(offset) + static_cast<off_t>(done));
    if (got < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return static_cast<std::int64_t>(done);
}

std::optional<OutputFile> OutputFile::Create(const std::u16string& path, OsError& error) {
  const int fd = ::open(ToPathBytes(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = ErrorFromErrno(errno);
    return std::nullopt;
  }
  return OutputFile(OsHandle(fd), nullptr);
}

bool OutputFile::Write(std::span<const std::uint8_t> bytes, OsError& error) {
  if (const int fault = NextWriteFault(faults_, WriteCall::Write); fault != 0) {
    error = ErrorFromErrno(fault);
    return false;
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(Fd(handle_), bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      error = ErrorFromErrno(errno);
      return false;
    }
    done += static_cast<std::size_t>(put);
  }
  return true;
}

bool OutputFile::TruncateTo(std::int64_t length) {
  return ::ftruncate(Fd(handle_), static_cast<off_t>(length)) == 0 &&
         ::lseek(Fd(handle_), static_cast<off_t>(length), SEEK_SET) == static_cast<off_t>(length);
}

bool OutputFile::Close(OsError& error) {
  if (handle_.Close()) return true;
  error = ErrorFromErrno(errno);
  return false;
}

bool CreateFolder(const std::u16string& path, OsError& error) {
  // The umask only ever takes bits away, so 0700 needs no chmod afterwards.
  if (::mkdir(ToPathBytes(path).c_str(), 0700) != 0) {
    error = ErrorFromErrno(errno);
    return false;
  }
  return true;
}

bool PathExists(const std::u16string& path) {
  struct stat info {};
  return ::lstat(ToPathBytes(path).c_str(), &info) == 0;
}

bool RemoveFile(const std::u16string& path) { return ::unlink(ToPathBytes(path).c_str()) == 0; }

bool RemoveFolder(const std::u16string& path) { return ::rmdir(ToPathBytes(path).c_str()) == 0; }

PathKind KindOfPath(const std::u16string& path) {
  struct stat info {};
  if (::stat(ToPathBytes(path).c_str(), &info) != 0) return PathKind::Missing;
  if (S_ISBLK(info.st_mode)) return PathKind::BlockDevice;
  return S_ISREG(info.st_mode) ? PathKind::RegularFile : PathKind::NotRegularFile;
}

bool FlushToDisk(const std::u16string& folder, const std::function<void(const FileVisitor&)>&, OsError& error,
                 const WriteFaultPlan& faults) {
  // One syncfs costs about what a single fsync does, where an fsync per file costs one each. A failure
  // is told, never covered by a sync(), which reports nothing.
  const OsHandle fd(::open(ToPathBytes(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Get() < 0) {
    error = ErrorFromErrno(errno);
    return false;
  }
  int code = NextWriteFault(faults, WriteCall::Flush);
  if (code == 0 && ::syncfs(Fd(fd)) != 0) code = errno;
  // The folder's own entries: the names of the files in it.
  if (code == 0 && ::fsync(Fd(fd)) != 0 && errno != EINVAL) code = errno;
  if (code == 0) return true;
  error = ErrorFromErrno(code);
  return false;
}

int DiskFullCode() { return ENOSPC; }
int DeviceErrorCode() { return EIO; }
int FileTooLargeCode() { return EFBIG; }

}  // namespace platform
