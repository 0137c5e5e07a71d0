#pragma once
// Every Win32 call of the program that names a file or a folder by its path goes through here, so that
// each path reaches the system in the form that lifts the 260-character limit: deep output folders
// work on every Windows, with or without long-path support switched on.
#include <windows.h>

#include <string>
#include <string_view>

namespace platform::win32 {

// The extended-length form of a full path: "\\?\" before a drive path, "\\?\UNC\" in place of the
// leading "\\" of a network path. Relative paths and paths already in a literal form (\\?\, \\.\, \??\)
// stay as they are.
std::u16string ExtendedLengthForm(std::u16string_view fullPath);

// The path resolved as the system resolves a plain path (current folder, "/", "." and "..", trailing
// dots and blanks), then in the extended-length form, which would switch that resolution off. A path the
// system cannot resolve stays as it is, for the call to fail on.
std::u16string SystemPath(const std::u16string& path);

HANDLE CreateFileAt(const std::u16string& path, DWORD access, DWORD share, DWORD disposition,
                    DWORD flags = FILE_ATTRIBUTE_NORMAL);
DWORD AttributesAt(const std::u16string& path);
// FindFirstFileExW with the basic information; pattern may end in wildcards.
HANDLE FindFirstAt(const std::u16string& pattern, WIN32_FIND_DATAW& found);
bool CreateFolderAt(const std::u16string& path);
bool RemoveFolderAt(const std::u16string& path);
bool DeleteFileAt(const std::u16string& path);
// Never replaces an existing entry.
bool MoveFileAt(const std::u16string& from, const std::u16string& to);

}  // namespace platform::win32
