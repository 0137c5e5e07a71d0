#pragma once
#include <windows.h>

#include <string>

// Saves what the screen shows of the window as a BMP file in the screenshots folder.
void SaveScreenshot(HWND window, const std::wstring& name);
