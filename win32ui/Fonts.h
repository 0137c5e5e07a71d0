#pragma once
// Fonts of the windows, given as the design gives them: a face and a size in points.
#include <windows.h>

#include <cmath>

#include "win32ui/GdiObject.h"

inline GdiObject<HFONT> MakeFont(const wchar_t* face, double points, UINT dpi, int weight = FW_NORMAL) {
  const int height = -static_cast<int>(std::lround(points * dpi / 72.0));
  return GdiObject<HFONT>(CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      DEFAULT_PITCH | FF_DONTCARE, face));
}
