// The step from one block of a chain to the next when stored offsets wrap at 4 GiB.
#include <gtest/gtest.h>

#include "engine/scan/BlockLayout.h"

namespace {

constexpr std::int64_t kWrap = std::int64_t{1} << 32;

TEST(NextChainPosition, IsTheNearestCongruentPositionInsideTheFile) {
  struct Case {
    std::int64_t position;
    std::uint32_t ownOffset;
    std::uint32_t nextOffset;
    std::int64_t length;
    std::int64_t expected;
  };
  const Case cases[] = {
      {1001, 1000, 1528, 10'000, 1529},                          // as stored, below 4 GiB
      {1001, 1000, 472, 10'000, 473},                            // backwards
      {5001, 1000, 1528, 10'000, 5529},                          // displaced store, pointer check off
      {1001, 1000, 0xF000'0000u, kWrap - 1, 0xF000'0001},          // a jump of 3.75 GiB inside a file below 4 GiB
      {kWrap - 999, 0xFFFF'FC18u, 56, 5 * kWrap / 4, kWrap + 57},         // across 2^32, next word wrapped
      {kWrap + 57, 56, 0xFFFF'FC18u, 5 * kWrap / 4, kWrap - 999},         // and back
      {kWrap + 1001, 1000, 1000 + 0x8000'0000u, 2 * kWrap, kWrap + 1001 + 0x8000'0000},  // a tie goes forward
      {kWrap + 1001, 1000, 1001 + 0x8000'0000u, 2 * kWrap, kWrap + 1002 - 0x8000'0000},  // nearer backwards
      {1001, 1000, 0xFFFF'0000u, 10'000, 0},                      // nothing congruent inside the file
      {9001, 9000, 20'000, 10'000, 0},                            // beyond the end
      {9001, 9000, 9'999, 10'000, 10'000},                        // the last byte still starts a block
  };
  for (const auto& c : cases) {
    DbxBlock block;
    block.OwnOffset = c.ownOffset;
    block.NextOffset = c.nextOffset;
    EXPECT_EQ(NextChainPosition(c.position, block, c.length), c.expected) << c.position << " " << c.nextOffset;
  }
}

// The same step as freed chains take it, from the stored words alone, across 4 GiB.
TEST(NextChainPosition, FromTheStoredWordsAcrossFourGiB) {
  constexpr std::int64_t kGiB = std::int64_t{1} << 30;
  struct Case {
    const char* what;
    std::int64_t position;
    std::uint32_t own;
    std::uint32_t next;
    std::int64_t length;
    std::int64_t expected;
  };
  const Case cases[] = {
      {"displaced before the start", 0x1001, 0x3000, 0x1000, 1 << 20, 0},
      {"forward by 3 GiB below 4 GiB", 0x3001, 0x3000, 0xC0003000u, 4 * kGiB - 1, 0xC0003001},
      {"back by 3 GiB below 4 GiB", 0xC0003001, 0xC0003000u, 0x3000, 4 * kGiB - 1, 0x3001},
      {"store at an odd offset beyond 4 GiB", kWrap + 0x1234568, 0x1234560, 0x1234770, 5 * kGiB, kWrap + 0x1234778},
      {"the nearest lies beyond the end", 4 * kGiB + kGiB / 2 + 1, 0x20000000u, 0xA0000000u, 5 * kGiB,
       2 * kGiB + kGiB / 2 + 1},
  };
  for (const Case& c : cases) EXPECT_EQ(NextChainPosition(c.position, c.own, c.next, c.length), c.expected) << c.what;
}

TEST(StoresOwnOffset, ComparesTheLowThirtyTwoBitsOfTheOffset) {
  DbxBlock block;
  block.OwnOffset = 56;
  EXPECT_TRUE(StoresOwnOffset(57, block));
  EXPECT_TRUE(StoresOwnOffset(kWrap + 57, block));
  EXPECT_FALSE(StoresOwnOffset(56, block));
  block.OwnOffset = 0xFFFF'FFFFu;
  EXPECT_TRUE(StoresOwnOffset(kWrap, block));
}

}  // namespace
