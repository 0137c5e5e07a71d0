#include "platform/Files.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include "platform/win32/FileCalls.h"
#include "platform/win32/Handle.h"
#include "platform/win32/OsErrors.h"

namespace platform {
namespace {

using win32::ErrorFromCode;
using win32::Handle;
using win32::LastError;
using win32::Owned;

// Every failure but the end of the file fails the read: ERROR_CRC, ERROR_IO_DEVICE, ERROR_SECTOR_NOT_FOUND
// and their kin from a failing disk alike, so that the caller reads around the sectors at fault. The
// count read, short only at the end of the file, or -1.
std::int64_t ReadWhole(HANDLE file, std::int64_t offset, std::span<std::uint8_t> out) {
  std::size_t done = 0;
  while (done < out.size()) {
    OVERLAPPED at{};
    const auto position = static_cast<std::uint64_t>(offset) + done;
    at.Offset = static_cast<DWORD>(position & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(position >> 32);
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(out.size() - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file, out.data() + done, wanted, &got, &at)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      return -1;
    }
    if (got == 0) break;
    done += got;
  }
  return static_cast<std::int64_t>(done);
}

struct PagesFree {
  void operator()(void* pages) const { VirtualFree(pages, 0, MEM_RELEASE); }
};

}  // namespace

// The store opened again with FILE_FLAG_NO_BUFFERING. Its reads go whole sectors at a time through
// pages of their own, which are aligned beyond any sector.
struct UncachedReads {
  explicit UncachedReads(std::u16string storePath) : path(std::move(storePath)) {}

  // Opens the handle on first use and tells the volume's sector size, 0 when the handle is refused.
  std::int64_t Sector() {
    if (opened) return sector;
    opened = true;
    const HANDLE file = win32::CreateFileAt(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                                            FILE_FLAG_NO_BUFFERING);
    if (file == INVALID_HANDLE_VALUE) return sector = 0;
    handle = Owned(file);
    FILE_STORAGE_INFO storage{};
    // A volume that does not tell its sector size is read in 512-byte sectors, and in 4096-byte ones
    // once it refuses those.
    sector = GetFileInformationByHandleEx(file, FileStorageInfo, &storage, sizeof storage)
                 ? std::max<std::int64_t>(storage.LogicalBytesPerSector, 512)
                 : 512;
    return sector;
  }

  // The count read, as ReadAt's, or -1 on failure. A misaligned read (ERROR_INVALID_PARAMETER) makes
  // the sector 4096, and a misaligned one of those leaves the reads to the cache from then on.
  std::int64_t Read(std::int64_t offset, std::span<std::uint8_t> out) {
    const auto size = static_cast<std::int64_t>(out.size());
    const std::int64_t begin = offset / sector * sector;
    const std::int64_t end = (offset + size + sector - 1) / sector * sector;
    const auto length = static_cast<std::size_t>(end - begin);
    const std::unique_ptr<void, PagesFree> pages(VirtualAlloc(nullptr, length, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!pages) return -1;
    const std::span<std::uint8_t> aligned(static_cast<std::uint8_t*>(pages.get()), length);
    const std::int64_t got = ReadWhole(Handle(handle), begin, aligned);
    if (got < 0 && GetLastError() == ERROR_INVALID_PARAMETER) sector = sector < 4096 ? 4096 : 0;
    if (got < 0) return -1;
    const std::int64_t held = std::clamp<std::int64_t>(begin + got - offset, 0, size);
    std::copy_n(aligned.begin() + (offset - begin), held, out.begin());
    return held;
  }

  const std::u16string path;
  std::mutex mutex;
  bool opened = false;
  OsHandle handle{OsHandle::kClosed};
  std::int64_t sector = 0;
};

std::optional<StoreFile> StoreFile::Open(const std::u16string& path, OsError& error,
                                         const std::vector<ByteRange>& unreadable) {
  // GENERIC_READ only; the mail client may hold the store open for writing meanwhile.
  const HANDLE file = win32::CreateFileAt(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) {
    error = LastError();
    return std::nullopt;
  }
  return StoreFile(Owned(file), unreadable, std::make_shared<UncachedReads>(path));
}

std::int64_t StoreFile::Length() const {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(Handle(handle_), &size)) return -1;
  return size.QuadPart;
}

std::int64_t StoreFile::ReadAt(std::int64_t offset, std::span<std::uint8_t> out) const {
  if (offset < 0) return -1;
  if (Touches(unreadable_, offset, static_cast<std::int64_t>(out.size()))) {
    SetLastError(ERROR_CRC);
    return -1;
  }
  return ReadWhole(Handle(handle_), offset, out);
}

std::int64_t StoreFile::ReadUncachedAt(std::int64_t offset, std::span<std::uint8_t> out) const {
  if (offset < 0) return -1;
  if (Touches(unreadable_, offset, static_cast<std::int64_t>(out.size()))) {
    SetLastError(ERROR_CRC);
    return -1;
  }
  {
    const std::lock_guard lock(uncached_->mutex);
    while (uncached_->Sector() > 0) {
      const std::int64_t sector = uncached_->sector;
      const std::int64_t got = uncached_->Read(offset, out);
      if (got >= 0 || uncached_->sector == sector) return got;
    }
  }
  return ReadAt(offset, out);
}

std::int64_t StoreFile::UncachedSectorSize() const {
  const std::lock_guard lock(uncached_->mutex);
  return uncached_->Sector();
}

std::optional<OutputFile> OutputFile::Create(const std::u16string& path, OsError& error) {
  const HANDLE file = win32::CreateFileAt(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
  if (file == INVALID_HANDLE_VALUE) {
    error = LastError();
    return std::nullopt;
  }
  return OutputFile(Owned(file), nullptr);
}

bool OutputFile::Write(std::span<const std::uint8_t> bytes, OsError& error) {
  if (const int fault = NextWriteFault(faults_, WriteCall::Write); fault != 0) {
    error = ErrorFromCode(static_cast<DWORD>(fault));
    return false;
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD put = 0;
    if (!WriteFile(Handle(handle_), bytes.data() + done, wanted, &put, nullptr)) {
      error = LastError();
      return false;
    }
    done += put;
  }
  return true;
}

bool OutputFile::TruncateTo(std::int64_t length) {
  LARGE_INTEGER at{};
  at.QuadPart = length;
  return SetFilePointerEx(Handle(handle_), at, nullptr, FILE_BEGIN) && SetEndOfFile(Handle(handle_));
}

bool OutputFile::Close(OsError& error) {
  if (handle_.Close()) return true;
  error = LastError();
  return false;
}

bool CreateFolder(const std::u16string& path, OsError& error) {
  if (!win32::CreateFolderAt(path)) {
    error = LastError();
    return false;
  }
  return true;
}

bool PathExists(const std::u16string& path) { return win32::AttributesAt(path) != INVALID_FILE_ATTRIBUTES; }

bool RemoveFile(const std::u16string& path) { return win32::DeleteFileAt(path); }

bool RemoveFolder(const std::u16string& path) { return win32::RemoveFolderAt(path); }

PathKind KindOfPath(const std::u16string& path) {
  const DWORD attributes = win32::AttributesAt(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0 ? PathKind::NotRegularFile
                                                                                 : PathKind::RegularFile;
}

bool FlushToDisk(const std::u16string&, const std::function<void(const FileVisitor&)>& forEachFile, OsError& error,
                 const WriteFaultPlan& faults) {
  // Flushing a whole volume needs an administrator; each file is flushed through a handle of its own.
  // The first failure is kept; the other files are still flushed.
  bool flushed = true;
  forEachFile([&](const std::u16string& file) {
    DWORD code = static_cast<DWORD>(NextWriteFault(faults, WriteCall::Flush));
    if (code == 0) {
      const HANDLE handle = win32::CreateFileAt(file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
      if (handle == INVALID_HANDLE_VALUE) {
        code = GetLastError();
      } else {
        if (!FlushFileBuffers(handle)) code = GetLastError();
        CloseHandle(handle);
      }
    }
    if (code == 0 || !flushed) return;
    flushed = false;
    error = ErrorFromCode(code);
  });
  return flushed;
}

int DiskFullCode() { return ERROR_DISK_FULL; }
int DeviceErrorCode() { return ERROR_IO_DEVICE; }
int FileTooLargeCode() { return ERROR_FILE_TOO_LARGE; }

RenameResult RenameNoReplace(const std::u16string& from, const std::u16string& to, OsError& error) {
  if (from == to) return RenameResult::TargetExists;
  if (win32::MoveFileAt(from, to)) return RenameResult::Renamed;
  const DWORD code = GetLastError();
  error = ErrorFromCode(code);
  return code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS ? RenameResult::TargetExists
                                                                    : RenameResult::Failed;
}

}  // namespace platform
