#include "platform/posix/RenameAt.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Files.h"
#include "platform/Utf.h"
#include "platform/posix/Errors.h"

namespace platform {
namespace posix {

int RenameNoReplaceAt(int folder, const char* from, const char* to, bool plainOnly) {
  if (!plainOnly) {
    if (::renameat2(folder, from, folder, to, RENAME_NOREPLACE) == 0) return 0;
    const int code = errno;
    if (code != EINVAL && code != ENOSYS && code != ENOTSUP) return code;
    // For file systems without RENAME_NOREPLACE: a hard link fails with EEXIST as atomically as the
    // rename would.
    if (::linkat(folder, from, folder, to, 0) == 0) {
      if (::unlinkat(folder, from, 0) == 0) return 0;
      const int unlinked = errno;
      ::unlinkat(folder, to, 0);
      return unlinked;
    }
    if (errno != EPERM && errno != ENOTSUP) return errno;
  }
  // A name the file system refuses fails the plain rename as it failed the others (EINVAL).
  struct stat info {};
  if (::fstatat(folder, to, &info, AT_SYMLINK_NOFOLLOW) == 0) return EEXIST;
  if (errno != ENOENT) return errno;
  return ::renameat(folder, from, folder, to) == 0 ? 0 : errno;
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
