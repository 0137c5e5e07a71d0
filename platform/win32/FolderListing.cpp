#include "platform/FolderListing.h"

#include <windows.h>

#include <memory>

#include "platform/win32/FileCalls.h"
#include "platform/win32/OsErrors.h"
#include "platform/win32/Wide.h"

namespace platform {
namespace {

struct FindCloser {
  void operator()(HANDLE search) const { FindClose(search); }
};

}  // namespace

bool IsFolder(const std::u16string& path) {
  const DWORD attributes = win32::AttributesAt(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::vector<std::u16string>> FileNamesIn(const std::u16string& folder, OsError& error) {
  const std::u16string pattern = folder + (folder.ends_with(u'\\') || folder.ends_with(u'/') ? u"*" : u"\\*");
  WIN32_FIND_DATAW found{};
  const HANDLE first = win32::FindFirstAt(pattern, found);
  std::vector<std::u16string> names;
  if (first == INVALID_HANDLE_VALUE) {
    // Only an empty drive's root lists nothing at all; any other folder lists "." and "..".
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return names;
    error = win32::LastError();
    return std::nullopt;
  }
  const std::unique_ptr<void, FindCloser> search(first);
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(win32::FromWide(found.cFileName));
  } while (FindNextFileW(search.get(), &found));
  return names;
}

}  // namespace platform
