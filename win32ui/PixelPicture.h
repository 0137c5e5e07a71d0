#pragma once
// Small pictures for image lists, drawn in the 16 colours of the classic palette, one letter per pixel.
#include <windows.h>
#include <commctrl.h>

#include <span>
#include <string_view>

// Adds the picture (square, its rows top first; '.' is transparent) to the list, drawn side pixels wide
// and high, so that a 16-pixel picture keeps its shape at any DPI.
void AddPixelPicture(HIMAGELIST list, std::span<const std::string_view> rows, int side);
