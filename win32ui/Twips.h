#pragma once
// Window layouts are designed in twips (1/1440 inch; 15 twips are one pixel at 96 DPI).
#include <windows.h>

inline int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }
