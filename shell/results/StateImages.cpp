#include "shell/results/StateImages.h"

#include <array>
#include <string_view>

#include "win32ui/PixelPicture.h"

namespace {

using Picture = std::array<std::string_view, 16>;

// clang-format off
// A closed envelope.
constexpr Picture kListed = {
    "................",
    "................",
    "................",
    "kkkkkkkkkkkkkkkk",
    "kbwwwwwwwwwwwwbk",
    "kwbwwwwwwwwwwbwk",
    "kwwbwwwwwwwwbwwk",
    "kwwwbwwwwwwbwwwk",
    "kwwwwbwwwwbwwwwk",
    "kwwwwwbbbbwwwwwk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwwwwwwwwwk",
    "kkkkkkkkkkkkkkkk",
    "................",
    "................",
};
// The envelope crossed out.
constexpr Picture kDeleted = {
    "................",
    "................",
    "................",
    "kkkkkkkkkkkkkkkk",
    "kbwwwwwwwwwwwwbk",
    "kwbwwwwwwwwwwbwk",
    "kwwbwwwRRwwwbwwk",
    "kwwwbwwRRwwbwwwk",
    "kwwwwbRRRRbwwwwk",
    "kwwwwwRRRRwwwwwk",
    "kwwwwwwRRwwwwwwk",
    "kwwwwwRRRRwwwwwk",
    "kwwwwRRwwRRwwwwk",
    "kkkkRRkkkkRRkkkk",
    "...RR......RR...",
    "................",
};
// The envelope in pieces, as freed blocks give it back.
constexpr Picture kFreed = {
    "................",
    "................",
    "................",
    "kkkkkkk..kkkkkkk",
    "kbwwwwk..kwwwwbk",
    "kwbwwwk..kwwwbwk",
    "kwwbwwk..kwwbwwk",
    "kwwwbwk..kwbwwwk",
    "kwwwwbk..kbwwwwk",
    "kwwwwwk..kwwwwwk",
    "kwwwwwk..kwwwwwk",
    "kwwwwwk..kwwwwwk",
    "kwwwwwk..kwwwwwk",
    "kkkkkkk..kkkkkkk",
    "................",
    "................",
};
// Half an envelope, torn off.
constexpr Picture kCutShort = {
    "................",
    "................",
    "................",
    "kkkkkkkkkk......",
    "kbwwwwwwwk......",
    "kwbwwwwwwwk.....",
    "kwwbwwwwwk......",
    "kwwwbwwwwwk.....",
    "kwwwwbwwwk......",
    "kwwwwwbbbbk.....",
    "kwwwwwwwwk......",
    "kwwwwwwwwwk.....",
    "kwwwwwwwwk......",
    "kkkkkkkkkkk.....",
    "................",
    "................",
};
// A dotted outline with a question mark: the store lists a message the scan did not find.
constexpr Picture kMissing = {
    "................",
    "................",
    "................",
    "d.d.d.d.d.d.d.d.",
    "...............d",
    "d.....kkkk......",
    ".....kk..kk....d",
    "d.........kk....",
    ".........kk....d",
    "d.......kk......",
    "........kk.....d",
    "d...............",
    "........kk.....d",
    ".d.d.d.d.d.d.d.d",
    "................",
    "................",
};
// clang-format on

// In StateImage order.
constexpr const Picture* kPictures[] = {&kListed, &kDeleted, &kFreed, &kCutShort, &kMissing};

}  // namespace

StateImage StateImageOf(const RunListRow& row) {
  switch (row.state) {
    case RunListState::Missing:
      return StateImage::Missing;
    case RunListState::Listed:
    case RunListState::Deleted:
    case RunListState::Freed:
      break;
  }
  if (!row.complete) return StateImage::CutShort;
  return row.state == RunListState::Listed ? StateImage::Listed
         : row.state == RunListState::Freed ? StateImage::Freed
                                            : StateImage::Deleted;
}

HIMAGELIST CreateStateImages(int side) {
  const HIMAGELIST list = ImageList_Create(side, side, ILC_COLOR32, static_cast<int>(std::size(kPictures)), 0);
  if (list == nullptr) return nullptr;
  for (const Picture* picture : kPictures) AddPixelPicture(list, *picture, side);
  return list;
}
