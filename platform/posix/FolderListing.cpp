#include "platform/FolderListing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/Utf.h"

namespace platform {
namespace {

struct FolderCloser {
  void operator()(DIR* folder) const { ::closedir(folder); }
};

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

bool IsFolder(const std::u16string& path) {
  struct stat info {};
  return ::stat(ToPathBytes(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<std::vector<std::u16string>> FileNamesIn(const std::u16string& folder, OsError& error) {
  const std::string folderBytes = ToPathBytes(folder);
  const std::unique_ptr<DIR, FolderCloser> listing(::opendir(folderBytes.c_str()));
  if (!listing) {
    error = OsError{errno, FromUtf8(std::strerror(errno))};
    return std::nullopt;
  }
  std::vector<std::u16string> names;
  while (const dirent* entry = ::readdir(listing.get())) {
    const std::string name = entry->d_name;
    // A link or a file system without entry types needs a look at what the name leads to.
    const bool file = entry->d_type == DT_REG ||
                      ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) && IsRegularFile(folderBytes + '/' + name));
    if (file) names.push_back(FromPathBytes(name));
  }
  return names;
}

}  // namespace platform
