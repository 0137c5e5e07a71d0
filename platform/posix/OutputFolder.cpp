#include "platform/OutputFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Utf.h"

namespace platform {
namespace {

constexpr int kClosed = -1;

OsError ErrorFromErrno(int code) { return OsError{code, FromUtf8(std::strerror(code))}; }

}  // namespace

std::optional<OutputFolder> OutputFolder::Open(const std::u16string& path, OsError& error) {
  const int fd = ::open(ToUtf8(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    error = ErrorFromErrno(errno);
    return std::nullopt;
  }
  return OutputFolder(fd);
}

OutputFolder::OutputFolder(OutputFolder&& other) noexcept : fd_(other.fd_) { other.fd_ = kClosed; }

OutputFolder& OutputFolder::operator=(OutputFolder&& other) noexcept {
  if (this != &other) {
    if (fd_ != kClosed) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = kClosed;
  }
  return *this;
}

OutputFolder::~OutputFolder() {
  if (fd_ != kClosed) ::close(fd_);
}

NewFile OutputFolder::CreateNew(std::u16string_view name) const {
  if (!IsPlainName(name)) return NewFile{CreateResult::Failed, std::nullopt, ErrorFromErrno(EINVAL)};
  // O_EXCL also refuses a symbolic link of that name, dangling or not, so nothing outside is opened.
  const int fd = ::openat(fd_, ToUtf8(std::u16string(name)).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int code = errno;
    return NewFile{code == EEXIST ? CreateResult::Exists : CreateResult::Failed, std::nullopt, ErrorFromErrno(code)};
  }
  return NewFile{CreateResult::Created, OutputFile(fd), {}};
}

}  // namespace platform
