#include "chooser/FolderIcons.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "win32ui/PixelPicture.h"

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

}  // namespace

HIMAGELIST CreateFolderImages() {
  const HIMAGELIST list = ImageList_Create(kSide, kSide, ILC_COLOR32, 6, 0);
  if (list == nullptr) return nullptr;
  for (const Picture* picture : kPictures) AddPixelPicture(list, *picture, kSide);
  return list;
}
