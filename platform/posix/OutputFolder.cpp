#include "platform/OutputFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Utf.h"
#include "platform/posix/Errors.h"

namespace platform {
namespace {

using posix::ErrorFromErrno;

}  // namespace

std::optional<OutputFolder> OutputFolder::Open(const std::u16string& path, OsError& error) {
  const int fd = ::open(ToPathBytes(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    error = ErrorFromErrno(errno);
    return std::nullopt;
  }
  return OutputFolder(OsHandle(fd));
}

NewFile OutputFolder::CreateNew(std::u16string_view name) const {
  if (!IsPlainName(name)) return NewFile{CreateResult::Failed, std::nullopt, ErrorFromErrno(EINVAL)};
  // O_EXCL also refuses a symbolic link of that name, dangling or not, so nothing outside is opened.
  const int fd = ::openat(static_cast<int>(fd_.Get()), ToPathBytes(name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int code = errno;
    return NewFile{code == EEXIST ? CreateResult::Exists : CreateResult::Failed, std::nullopt, ErrorFromErrno(code)};
  }
  return NewFile{CreateResult::Created, OutputFile(OsHandle(fd)), {}};
}

}  // namespace platform
