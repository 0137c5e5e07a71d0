#pragma once
#include <windows.h>

#include <string>

// The system's folder browser over owner; the chosen folder's path, or "" when cancelled or when the
// chosen item is not a file-system folder.
std::u16string BrowseForFolder(HWND owner);
