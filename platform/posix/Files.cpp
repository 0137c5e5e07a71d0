#include "platform/Files.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/Utf.h"
#include "platform/posix/Errors.h"

namespace platform {
namespace {

using posix::ErrorFromErrno;

int Fd(const OsHandle& handle) { return static_cast<int>(handle.Get()); }

std::int64_t LengthOf(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return -1;
  // A block device has no size of its own in its status; seeking to its end tells it.
  if (S_ISBLK(info.st_mode)) return static_cast<std::int64_t>(::lseek(fd, 0, SEEK_END));
  return static_cast<std::int64_t>(info.st_size);
}

// Reads up to out.size() bytes at offset; the count read, short only at the end of the file, or -1. A
// read that comes back short before the end has met a bad sector: the system gives the bytes before it,
// and reading on would make the cache read the failing chunk again.
std::int64_t ReadWhole(int fd, std::int64_t offset, std::span<std::uint8_t> out) {
  constexpr std::size_t kLongestRead = 0x7FFFF000;  // what Linux moves in one read at the most
  std::size_t done = 0;
  while (done < out.size()) {
    const std::size_t wanted = std::min(out.size() - done, kLongestRead);
    const ssize_t got = ::pread(fd, out.data() + done, wanted, static_cast<off_t>(offset) + static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    done += static_cast<std::size_t>(got);
    if (static_cast<std::size_t>(got) == wanted) continue;
    if (offset + static_cast<std::int64_t>(done) >= LengthOf(fd)) break;
    errno = EIO;
    return -1;
  }
  return static_cast<std::int64_t>(done);
}

}  // namespace

// The store opened again with O_DIRECT. Its reads go whole sectors at a time through a buffer aligned
// to the sector, as O_DIRECT requires.
struct UncachedReads {
  explicit UncachedReads(std::string storePath) : path(std::move(storePath)) {}

  // Opens the handle on first use and tells the sector size, 0 when the file system refuses O_DIRECT
  // (tmpfs and some FUSE answer EINVAL).
  std::int64_t Sector() {
    if (opened) return sector;
    opened = true;
    handle = OsHandle(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_DIRECT));
    if (handle.Get() < 0) return sector = 0;
    struct stat info {};
    int logical = 0;
    const bool device = ::fstat(Fd(handle), &info) == 0 && S_ISBLK(info.st_mode);
    sector = device && ::ioctl(Fd(handle), BLKSSZGET, &logical) == 0 && logical > 0 ? logical : 512;
    return sector;
  }

  // What Read returns when the file system refused the alignment (EINVAL): it is asked again with 4096
  // after 512, and one that refuses that too is read through the cache from then on.
  static constexpr std::int64_t kRefused = -2;

  // The count read, as ReadAt's, -1 with errno on failure, or kRefused.
  std::int64_t Read(std::int64_t offset, std::span<std::uint8_t> out) {
    const auto size = static_cast<std::int64_t>(out.size());
    const std::int64_t begin = offset / sector * sector;
    const std::int64_t end = (offset + size + sector - 1) / sector * sector;
    const std::unique_ptr<void, decltype(&std::free)> buffer(
        std::aligned_alloc(static_cast<std::size_t>(sector), static_cast<std::size_t>(end - begin)), &std::free);
    if (!buffer) return -1;
    const std::span<std::uint8_t> aligned(static_cast<std::uint8_t*>(buffer.get()), static_cast<std::size_t>(end - begin));
    const std::int64_t got = ReadWhole(Fd(handle), begin, aligned);
    if (got < 0 && errno == EINVAL) {
      sector = sector == 512 ? 4096 : 0;
      return kRefused;
    }
    if (got < 0) return -1;
    const std::int64_t held = std::clamp<std::int64_t>(begin + got - offset, 0, size);
    std::copy_n(aligned.begin() + (offset - begin), held, out.begin());
    return held;
  }

  const std::string path;
  std::mutex mutex;
  bool opened = false;
  OsHandle handle{OsHandle::kClosed};
  std::int64_t sector = 0;
};

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
  return StoreFile(OsHandle(fd), unreadable, std::make_shared<UncachedReads>(ToPathBytes(path)));
}

std::int64_t StoreFile::Length() const { return LengthOf(Fd(handle_)); }

std::int64_t StoreFile::ReadAt(std::int64_t offset, std::span<std::uint8_t> out) const {
  if (offset < 0) return -1;
  if (Touches(unreadable_, offset, static_cast<std::int64_t>(out.size()))) {
    errno = EIO;
    return -1;
  }
  return ReadWhole(Fd(handle_), offset, out);
}

std::int64_t StoreFile::ReadUncachedAt(std::int64_t offset, std::span<std::uint8_t> out) const {
  if (offset < 0) return -1;
  if (Touches(unreadable_, offset, static_cast<std::int64_t>(out.size()))) {
    errno = EIO;
    return -1;
  }
  {
    const std::lock_guard lock(uncached_->mutex);
    while (uncached_->Sector() > 0) {
      const std::int64_t got = uncached_->Read(offset, out);
      if (got != UncachedReads::kRefused) return got;
    }
  }
  return ReadAt(offset, out);
}

std::int64_t StoreFile::UncachedSectorSize() const {
  const std::lock_guard lock(uncached_->mutex);
  return uncached_->Sector();
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
