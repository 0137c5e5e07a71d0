#include "chooser/FolderIcons.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "win32ui/GdiObject.h"

namespace {

constexpr int kSide = 16;
using Picture = std::array<std::string_view, kSide>;

consteval bool Square(const Picture& picture) {
  for (const std::string_view row : picture) {
    if (row.size() != kSide) return false;
  }
  return true;
}

// Drawn in the 16 colours of the classic palette, one letter per pixel; '.' is transparent.
// clang-format off
constexpr Picture kInTray = {
    "................",
    "...kkkkkkkkkk...",
    "...kwwwwwwwwk...",
    "...kbwwwwwwbk...",
    "...kwbwwwwbwk...",
    "...kwwbbbbwwk...",
    "...kwwwwwwwwk...",
    "...kwwwwwwwwk...",
    "kk.kwwwwwwwwk.kk",
    "kdkkkkkkkkkkkkdk",
    "kdssssssssssssdk",
    "kdssssssssssssdk",
    "kdssddddddddssdk",
    "kdssssssssssssdk",
    "kkkkkkkkkkkkkkkk",
    "................",
};
constexpr Picture kOutTray = {
    "................",
    ".......gg.......",
    "......gGGg......",
    ".....gGGGGg.....",
    "....gGGGGGGg....",
    "...ggggGGgggg...",
    "......gGGg......",
    "......gGGg......",
    "kk....gGGg....kk",
    "kdkkkkkkkkkkkkdk",
    "kdssssssssssssdk",
    "kdssssssssssssdk",
    "kdssddddddddssdk",
    "kdssssssssssssdk",
    "kkkkkkkkkkkkkkkk",
    "................",
};
constexpr Picture kMailFolder = {
    "................",
    "................",
    ".yyyyy..........",
    "yYYYYYy.........",
    "yYYYYYYyyyyyyyy.",
    "yYYYYYYYYYYYYYy.",
    "yYYkkkkkkkkkYYy.",
    "yYYkbwwwwwbkYYy.",
    "yYYkwbwwwbwkYYy.",
    "yYYkwwbbbwwkYYy.",
    "yYYkwwwwwwwkYYy.",
    "yYYkkkkkkkkkYYy.",
    "yYYYYYYYYYYYYYy.",
    "yyyyyyyyyyyyyyy.",
    "................",
    "................",
};
constexpr Picture kWasteBin = {
    "................",
    "......kkkk......",
    "..kkkkkddkkkkk..",
    "..kssssssssssk..",
    "..kkkkkkkkkkkk..",
    "...kswsdsdsdk...",
    "...kswsdsdsdk...",
    "...kswsdsdsdk...",
    "...kswsdsdsdk...",
    "...kswsdsdsdk...",
    "...kswsdsdsdk...",
    "...kswsdsdsdk...",
    "...kswsdsdsdk...",
    "...kswsdsdsdk...",
    "....kkkkkkkk....",
    "................",
};
constexpr Picture kNotePage = {
    "..kkkkkkkkk.....",
    "..kwwwwwwwkk....",
    "..kwwwwwwwkwk...",
    "..kwbbbbbwkkkk..",
    "..kwwwwwwwwwwk..",
    "..kwbbbbbbbbwk..",
    "..kwwwwwwwwwwk..",
    "..kwbbbbbbbbwk..",
    "..kwwwwwwwwwwk..",
    "..kwbbbbbbbwwk..",
    "..kwwwwwwwwwwk..",
    "..kwbbbbbbwwwk..",
    "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..",
    "..kkkkkkkkkkkk..",
    "................",
};
// clang-format on

// In category order: Inbox, Outbox, Sent Items, Deleted Items, Drafts, any other folder.
constexpr const Picture* kPictures[] = {&kInTray, &kOutTray, &kMailFolder, &kWasteBin, &kNotePage, &kMailFolder};
static_assert(Square(kInTray) && Square(kOutTray) && Square(kMailFolder) && Square(kWasteBin) && Square(kNotePage));

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

void AddPicture(HIMAGELIST list, const Picture& picture) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = kSide;
  info.bmiHeader.biHeight = -kSide;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const GdiObject<HBITMAP> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return;
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) pixels[y * kSide + x] = Colour(picture[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
  }
  ImageList_Add(list, bitmap.get(), nullptr);
}

}  // namespace

HIMAGELIST CreateFolderImages() {
  const HIMAGELIST list = ImageList_Create(kSide, kSide, ILC_COLOR32, 6, 0);
  if (list == nullptr) return nullptr;
  for (const Picture* picture : kPictures) AddPicture(list, *picture);
  return list;
}
