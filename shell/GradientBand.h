#pragma once
// The coloured header band of the program's windows.
#include <windows.h>

#include <cstdint>

// The band's colours, steel blue at the left edge and green at the right.
inline constexpr COLORREF kBandLeft = RGB(66, 109, 165);
inline constexpr COLORREF kBandRight = RGB(107, 185, 107);

// A 0..65535 channel value as GradientFill's signed 16-bit field holds it.
std::int16_t ToColor16(std::int32_t value);

// The far corner of the gradient in pixels: the band's inner size in twips over the screen's twips per
// pixel, both operands rounded to the nearest whole number (halves to even), the quotient truncated.
POINT GradientCorner(SIZE innerTwips, double twipsPerPixelX, double twipsPerPixelY);

// Clears the band's client area and fills it from the first colour to the second; mode
// GRADIENT_FILL_RECT_H runs the gradient from left to right. The band's size is its design size in twips.
void PaintGradientBand(HDC target, const RECT& client, SIZE innerTwips, UINT dpi, COLORREF first, COLORREF second,
                       ULONG mode);
