#include "platform/OutputFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

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

std::string ProcPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

}  // namespace

std::optional<OutputFolder> OutputFolder::Open(const std::u16string& path, OsError& error, WriteFaultPlan faults) {
  const int fd = ::open(ToPathBytes(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    error = ErrorFromErrno(errno);
    return std::nullopt;
  }
  // Asked once with a probe, so that no file written whole is ever found unnameable: a link onto "."
  // fails with EEXIST exactly when the way to the file was allowed, and leaves nothing.
  Linking linking = Linking::None;
  const OsHandle probe(faults && faults->UnnamedFilesRefused() ? -1 : ::openat(fd, ".", O_WRONLY | O_TMPFILE | O_CLOEXEC, 0600));
  const int probeFd = static_cast<int>(probe.Get());
  if (probeFd >= 0 && ::linkat(probeFd, "", fd, ".", AT_EMPTY_PATH) != 0 && errno == EEXIST) {
    linking = Linking::ByDescriptor;
  } else if (probeFd >= 0 && ::linkat(AT_FDCWD, ProcPath(probeFd).c_str(), fd, ".", AT_SYMLINK_FOLLOW) != 0 && errno == EEXIST) {
    linking = Linking::ByProcPath;
  }
  return OutputFolder(OsHandle(fd), std::move(faults), linking);
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
  if (code == 0)
    code = posix::RenameNoReplaceAt(static_cast<int>(fd_.Get()), ToPathBytes(from).c_str(), ToPathBytes(to).c_str(),
                                    faults_ && faults_->ExclusiveRenamesRefused());
  if (code == 0) return CreateResult::Created;
  error = ErrorFromErrno(code);
  return ResultOf(code);
}

bool OutputFolder::MakesUnnamedFiles() const { return linking_ != Linking::None; }

std::optional<NewFile> OutputFolder::CreateUnnamed() const {
  if (linking_ == Linking::None) return std::nullopt;
  int code = NextWriteFault(faults_, WriteCall::Create);
  if (code == 0) {
    const int fd = ::openat(static_cast<int>(fd_.Get()), ".", O_WRONLY | O_TMPFILE | O_CLOEXEC, 0666);
    if (fd >= 0) return NewFile{CreateResult::Created, OutputFile(OsHandle(fd), faults_), {}};
    code = errno;
  }
  // No name was asked for, so none can be refused or taken.
  return NewFile{CreateResult::Failed, std::nullopt, ErrorFromErrno(code)};
}

CreateResult OutputFolder::NameUnnamed(const OutputFile& file, std::u16string_view name, OsError& error) const {
  int code = IsPlainName(name) ? NextWriteFault(faults_, WriteCall::Rename) : EINVAL;
  if (code == 0) {
    const int fd = static_cast<int>(file.handle_.Get());
    const int folder = static_cast<int>(fd_.Get());
    const std::string bytes = ToPathBytes(name);
    // A link never replaces an entry: a name taken fails with EEXIST.
    const int linked = linking_ == Linking::ByDescriptor
                           ? ::linkat(fd, "", folder, bytes.c_str(), AT_EMPTY_PATH)
                           : ::linkat(AT_FDCWD, ProcPath(fd).c_str(), folder, bytes.c_str(), AT_SYMLINK_FOLLOW);
    if (linked != 0) code = errno;
  }
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
