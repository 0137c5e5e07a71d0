#include "platform/posix/RenameAt.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Files.h"
#include "platform/Utf.h"
#include "platform/posix/Errors.h"

namespace platform {
namespace posix {

int RenameNoReplaceAt(int folder, const char* from, const char* to) {
  if (::renameat2(folder, from, folder, to, RENAME_NOREPLACE) == 0) return 0;
  const int code = errno;
  if (code != EINVAL && code != ENOSYS && code != ENOTSUP) return code;
  // For file systems without RENAME_NOREPLACE: a hard link fails with EEXIST as atomically as the rename
  // would. Where there are no hard links either, the rename's own answer stands: EINVAL is also how some
  // file systems refuse a name.
  if (::linkat(folder, from, folder, to, 0) != 0) return errno == EPERM || errno == ENOTSUP ? code : errno;
  if (::unlinkat(folder, from, 0) != 0) {
    const int unlinked = errno;
    ::unlinkat(folder, to, 0);
    return unlinked;
  }
  return 0;
}

}  // namespace posix

RenameResult RenameNoReplace(const std::u16string& from, const std::u16string& to, OsError& error) {
  if (from == to) return RenameResult::TargetExists;
  const int code = posix::RenameNoReplaceAt(AT_FDCWD, ToPathBytes(from).c_str(), ToPathBytes(to).c_str());
  if (code == 0) return RenameResult::Renamed;
  error = posix::ErrorFromErrno(code);
  return code == EEXIST ? RenameResult::TargetExists : RenameResult::Failed;
}

}  // namespace platform
