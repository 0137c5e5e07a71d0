#include "platform/OutputFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Utf.h"
#include "platform/posix/Errors.h"
#include "platform/posix/RenameAt.h"

namespace platform {
namespace {

using posix::ErrorFromErrno;

// EILSEQ: file systems that keep names in one encoding refuse bytes outside it.
CreateResult ResultOf(int code) {
  if (code == EEXIST) return CreateResult::Exists;
  return code == ENAMETOOLONG || code == EINVAL || code == EILSEQ ? CreateResult::NameRefused : CreateResult::Failed;
}

}  // namespace

std::optional<OutputFolder> OutputFolder::Open(const std::u16string& path, OsError& error, WriteFaultPlan faults) {
  const int fd = ::open(ToPathBytes(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    error = ErrorFromErrno(errno);
    return std::nullopt;
  }
  return OutputFolder(OsHandle(fd), std::move(faults));
}

NewFile OutputFolder::CreateNew(std::u16string_view name) const {
  if (!IsPlainName(name)) return NewFile{CreateResult::NameRefused, std::nullopt, ErrorFromErrno(EINVAL)};
  if (const int fault = NextWriteFault(faults_, WriteCall::Create); fault != 0)
    return NewFile{ResultOf(fault), std::nullopt, ErrorFromErrno(fault)};
  // O_EXCL also refuses a symbolic link of that name, dangling or not, so nothing outside is opened.
  const int fd = ::openat(static_cast<int>(fd_.Get()), ToPathBytes(name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int code = errno;
    return NewFile{ResultOf(code), std::nullopt, ErrorFromErrno(code)};
  }
  return NewFile{CreateResult::Created, OutputFile(OsHandle(fd), faults_), {}};
}

CreateResult OutputFolder::RenameNew(std::u16string_view from, std::u16string_view to, OsError& error) const {
  int code = IsPlainName(from) && IsPlainName(to) ? NextWriteFault(faults_, WriteCall::Rename) : EINVAL;
  if (code == 0) code = posix::RenameNoReplaceAt(static_cast<int>(fd_.Get()), ToPathBytes(from).c_str(), ToPathBytes(to).c_str());
  if (code == 0) return CreateResult::Created;
  error = ErrorFromErrno(code);
  return ResultOf(code);
}

bool OutputFolder::Remove(std::u16string_view name, OsError& error) const {
  int code = IsPlainName(name) ? NextWriteFault(faults_, WriteCall::Remove) : EINVAL;
  if (code == 0 && ::unlinkat(static_cast<int>(fd_.Get()), ToPathBytes(name).c_str(), 0) != 0) code = errno;
  if (code == 0) return true;
  error = ErrorFromErrno(code);
  return false;
}

}  // namespace platform
