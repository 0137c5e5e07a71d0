#include "shell/modGadientForm.h"

namespace {

TRIVERTEX Vertex(LONG x, LONG y, COLORREF colour) {
  TRIVERTEX vertex{};
  vertex.x = x;
  vertex.y = y;
  vertex.Red = static_cast<COLOR16>(ToColor16(GetRValue(colour) * 256));
  vertex.Green = static_cast<COLOR16>(ToColor16(GetGValue(colour) * 256));
  vertex.Blue = static_cast<COLOR16>(ToColor16(GetBValue(colour) * 256));
  vertex.Alpha = 0;
  return vertex;
}

}  // namespace

std::int16_t ToColor16(std::int32_t value) {
  return static_cast<std::int16_t>(value >= 32768 ? value - 65536 : value);
}

void PaintGradientBand(HDC target, const RECT& area, COLORREF first, COLORREF second, ULONG mode) {
  TRIVERTEX vertices[2] = {Vertex(area.left, area.top, first), Vertex(area.right, area.bottom, second)};
  GRADIENT_RECT rectangle{1, 0};
  GradientFill(target, vertices, 2, &rectangle, 1, mode);
}
