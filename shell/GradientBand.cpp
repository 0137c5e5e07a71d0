#include "shell/GradientBand.h"

#include <cmath>

#include "win32ui/GdiObject.h"

namespace {

// Where the gradient does not reach, the band shows its design colour.
constexpr COLORREF kDesignBackground = RGB(0, 0, 255);

TRIVERTEX Vertex(POINT at, COLORREF colour) {
  TRIVERTEX vertex{};
  vertex.x = at.x;
  vertex.y = at.y;
  vertex.Red = static_cast<COLOR16>(ToColor16(GetRValue(colour) * 256));
  vertex.Green = static_cast<COLOR16>(ToColor16(GetGValue(colour) * 256));
  vertex.Blue = static_cast<COLOR16>(ToColor16(GetBValue(colour) * 256));
  vertex.Alpha = 0;
  return vertex;
}

// nearbyint rounds halves to the even neighbour in the default rounding mode.
LONG TruncatedQuotient(LONG twips, double twipsPerPixel) {
  const double divisor = std::nearbyint(twipsPerPixel);
  if (divisor <= 0) return 0;
  return static_cast<LONG>(std::nearbyint(static_cast<double>(twips)) / divisor);
}

}  // namespace

std::int16_t ToColor16(std::int32_t value) {
  return static_cast<std::int16_t>(value >= 32768 ? value - 65536 : value);
}

POINT GradientCorner(SIZE innerTwips, double twipsPerPixelX, double twipsPerPixelY) {
  return {TruncatedQuotient(innerTwips.cx, twipsPerPixelX), TruncatedQuotient(innerTwips.cy, twipsPerPixelY)};
}

void PaintGradientBand(HDC target, const RECT& client, SIZE innerTwips, UINT dpi, COLORREF first, COLORREF second,
                       ULONG mode) {
  const GdiObject<HBRUSH> background(CreateSolidBrush(kDesignBackground));
  FillRect(target, &client, background.get());
  const double twipsPerPixel = 1440.0 / static_cast<double>(dpi);
  TRIVERTEX vertices[2] = {Vertex({0, 0}, first), Vertex(GradientCorner(innerTwips, twipsPerPixel, twipsPerPixel), second)};
  GRADIENT_RECT rectangle{1, 0};
  GradientFill(target, vertices, 2, &rectangle, 1, mode);
}
