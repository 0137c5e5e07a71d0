#pragma once
// The coloured header band of the program's windows.
#include <windows.h>

#include <cstdint>

// A 0..65535 channel value as GradientFill's signed 16-bit field holds it.
std::int16_t ToColor16(std::int32_t value);

// Fills the area with a gradient from the first colour to the second; mode GRADIENT_FILL_RECT_H runs
// it from left to right.
void PaintGradientBand(HDC target, const RECT& area, COLORREF first, COLORREF second, ULONG mode);
