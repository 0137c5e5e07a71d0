#include "platform/Files.h"

#include "platform/win32/Wide.h"

namespace platform {
namespace {

using win32::ErrorFromCode;
using win32::LastError;
using win32::Wide;

const std::intptr_t kClosed = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);

HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

void CloseIfOpen(std::intptr_t handle) {
  if (handle != kClosed) CloseHandle(Handle(handle));
}

}  // namespace

std::optional<StoreFile> StoreFile::Open(const std::u16string& path, OsError& error) {
  // GENERIC_READ only; the mail client may hold the store open for writing meanwhile.
  const HANDLE file = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = LastError();
    return std::nullopt;
  }
  return StoreFile(reinterpret_cast<std::intptr_t>(file));
}

StoreFile::StoreFile(StoreFile&& other) noexcept : handle_(other.handle_) { other.handle_ = kClosed; }

StoreFile& StoreFile::operator=(StoreFile&& other) noexcept {
  if (this != &other) {
    CloseIfOpen(handle_);
    handle_ = other.handle_;
    other.handle_ = kClosed;
  }
  return *this;
}

StoreFile::~StoreFile() { CloseIfOpen(handle_); }

std::int64_t StoreFile::Length() const {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(Handle(handle_), &size)) return -1;
  return size.QuadPart;
}

std::int64_t StoreFile::ReadAt(std::int64_t offset, std::span<std::uint8_t> out) const {
  if (offset < 0) return -1;
  std::size_t done = 0;
  while (done < out.size()) {
    OVERLAPPED at{};
    const auto position = static_cast<std::uint64_t>(offset) + done;
    at.Offset = static_cast<DWORD>(position & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(position >> 32);
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(out.size() - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(Handle(handle_), out.data() + done, wanted, &got, &at)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      return -1;
    }
    if (got == 0) break;
    done += got;
  }
  return static_cast<std::int64_t>(done);
}

std::optional<OutputFile> OutputFile::Create(const std::u16string& path, OsError& error) {
  return Open(path, CREATE_ALWAYS, error);
}

std::optional<OutputFile> OutputFile::CreateNew(const std::u16string& path, OsError& error) {
  return Open(path, CREATE_NEW, error);
}

std::optional<OutputFile> OutputFile::Open(const std::u16string& path, int mode, OsError& error) {
  const HANDLE file = CreateFileW(Wide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, static_cast<DWORD>(mode),
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = LastError();
    return std::nullopt;
  }
  return OutputFile(reinterpret_cast<std::intptr_t>(file));
}

bool AlreadyExists(const OsError& error) {
  return error.code == ERROR_FILE_EXISTS || error.code == ERROR_ALREADY_EXISTS;
}

OutputFile::OutputFile(OutputFile&& other) noexcept : handle_(other.handle_) { other.handle_ = kClosed; }

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this != &other) {
    CloseIfOpen(handle_);
    handle_ = other.handle_;
    other.handle_ = kClosed;
  }
  return *this;
}

OutputFile::~OutputFile() { CloseIfOpen(handle_); }

bool OutputFile::Write(std::span<const std::uint8_t> bytes, OsError& error) {
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

bool OutputFile::Close(OsError& error) {
  if (handle_ == kClosed) return true;
  const BOOL closed = CloseHandle(Handle(handle_));
  handle_ = kClosed;
  if (!closed) {
    error = LastError();
    return false;
  }
  return true;
}

bool CreateFolder(const std::u16string& path, OsError& error) {
  if (!CreateDirectoryW(Wide(path), nullptr)) {
    error = LastError();
    return false;
  }
  return true;
}

bool PathExists(const std::u16string& path) { return GetFileAttributesW(Wide(path)) != INVALID_FILE_ATTRIBUTES; }

bool RemoveFile(const std::u16string& path) { return DeleteFileW(Wide(path)) != 0; }

void FlushToDisk(const std::u16string&, const std::function<void(const FileVisitor&)>& forEachFile) {
  // Flushing a whole volume needs an administrator; each file is flushed through a handle of its own.
  forEachFile([](const std::u16string& file) {
    const HANDLE handle = CreateFileW(Wide(file), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return;
    FlushFileBuffers(handle);
    CloseHandle(handle);
  });
}

RenameResult RenameNoReplace(const std::u16string& from, const std::u16string& to, OsError& error) {
  if (from == to) return RenameResult::TargetExists;
  if (MoveFileExW(Wide(from), Wide(to), 0)) return RenameResult::Renamed;
  const DWORD code = GetLastError();
  error = ErrorFromCode(code);
  return code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS ? RenameResult::TargetExists
                                                                    : RenameResult::Failed;
}

}  // namespace platform
