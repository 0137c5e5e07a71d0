#include "win32ui/PixelPicture.h"

#include <cstdint>

#include "win32ui/GdiObject.h"

namespace {

// 0xAARRGGBB; transparent when 0.
std::uint32_t Colour(char letter) {
  switch (letter) {
    case 'k': return 0xFF000000;
    case 'r': return 0xFF800000;
    case 'g': return 0xFF008000;
    case 'y': return 0xFF808000;
    case 'b': return 0xFF000080;
    case 'm': return 0xFF800080;
    case 'c': return 0xFF008080;
    case 's': return 0xFFC0C0C0;
    case 'd': return 0xFF808080;
    case 'R': return 0xFFFF0000;
    case 'G': return 0xFF00FF00;
    case 'Y': return 0xFFFFFF00;
    case 'B': return 0xFF0000FF;
    case 'M': return 0xFFFF00FF;
    case 'C': return 0xFF00FFFF;
    case 'w': return 0xFFFFFFFF;
    default: return 0;
  }
}

}  // namespace

void AddPixelPicture(HIMAGELIST list, std::span<const std::string_view> rows, int side) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = side;
  info.bmiHeader.biHeight = -side;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const GdiObject<HBITMAP> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return;
  auto* pixels = static_cast<std::uint32_t*>(bits);
  const auto drawn = static_cast<int>(rows.size());
  for (int y = 0; y < side; ++y) {
    const std::string_view row = rows[static_cast<std::size_t>(y * drawn / side)];
    for (int x = 0; x < side; ++x) pixels[y * side + x] = Colour(row[static_cast<std::size_t>(x * drawn / side)]);
  }
  ImageList_Add(list, bitmap.get(), nullptr);
}
