#include "platform/win32/FileCalls.h"

#include "platform/win32/Wide.h"

namespace platform::win32 {
namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

}  // namespace

std::u16string ExtendedLengthForm(std::u16string_view fullPath) {
  if (fullPath.starts_with(u"\\\\?\\") || fullPath.starts_with(u"\\\\.\\") || fullPath.starts_with(u"\\??\\")) {
    return std::u16string(fullPath);
  }
  if (fullPath.size() >= 3 && IsDriveLetter(fullPath[0]) && fullPath[1] == u':' && IsSeparator(fullPath[2])) {
    return u"\\\\?\\" + std::u16string(fullPath);
  }
  if (fullPath.size() > 2 && IsSeparator(fullPath[0]) && IsSeparator(fullPath[1])) {
    return u"\\\\?\\UNC\\" + std::u16string(fullPath.substr(2));
  }
  return std::u16string(fullPath);
}

std::u16string SystemPath(const std::u16string& path) {
  if (path.starts_with(u"\\\\?\\") || path.empty()) return path;
  std::u16string full(MAX_PATH, u'\0');
  for (;;) {
    const DWORD length = GetFullPathNameW(Wide(path), static_cast<DWORD>(full.size()), WideBuffer(full), nullptr);
    if (length == 0) return path;
    if (length < full.size()) {
      full.resize(length);
      return ExtendedLengthForm(full);
    }
    full.assign(length, u'\0');
  }
}

HANDLE CreateFileAt(const std::u16string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  return CreateFileW(Wide(SystemPath(path)), access, share, nullptr, disposition, flags, nullptr);
}

DWORD AttributesAt(const std::u16string& path) { return GetFileAttributesW(Wide(SystemPath(path))); }

HANDLE FindFirstAt(const std::u16string& pattern, WIN32_FIND_DATAW& found) {
  return FindFirstFileExW(Wide(SystemPath(pattern)), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
}

bool CreateFolderAt(const std::u16string& path) { return CreateDirectoryW(Wide(SystemPath(path)), nullptr) != 0; }

bool RemoveFolderAt(const std::u16string& path) { return RemoveDirectoryW(Wide(SystemPath(path))) != 0; }

bool DeleteFileAt(const std::u16string& path) { return DeleteFileW(Wide(SystemPath(path))) != 0; }

bool MoveFileAt(const std::u16string& from, const std::u16string& to) {
  return MoveFileExW(Wide(SystemPath(from)), Wide(SystemPath(to)), 0) != 0;
}

}  // namespace platform::win32
