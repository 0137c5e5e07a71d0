#pragma once
#include <windows.h>

#include <string>

// The system's folder browser over owner, asking with title; the chosen folder's path, or "" when
// cancelled or when the chosen item is not a file-system folder.
std::u16string BrowseForFolder(HWND owner, const std::u16string& title);
