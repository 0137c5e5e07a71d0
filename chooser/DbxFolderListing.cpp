#include "chooser/DbxFolderListing.h"

#include <windows.h>

#include <memory>

#include "platform/win32/FileCalls.h"
#include "platform/win32/Wide.h"

namespace {

struct FindCloser {
  void operator()(HANDLE search) const { FindClose(search); }
};

constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

}  // namespace

std::vector<DbxFileEntry> ListDbxFolder(const std::u16string& folder) {
  std::vector<DbxFileEntry> entries;
  const std::u16string pattern = folder + u"\\*.dbx";
  WIN32_FIND_DATAW found{};
  const HANDLE first = platform::win32::FindFirstAt(pattern, found);
  if (first == INVALID_HANDLE_VALUE) return entries;
  const std::unique_ptr<void, FindCloser> search(first);
  do {
    if ((found.dwFileAttributes & kNotOrdinary) != 0) continue;
    const std::int64_t bytes =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow);
    entries.push_back({platform::win32::FromWide(found.cFileName), bytes});
  } while (FindNextFileW(search.get(), &found));
  return entries;
}
