#include <gtest/gtest.h>

#include <vector>

#include "engine/StoreReader.h"
#include "engine/modDBXFile.h"

namespace {

TEST(UsedBlocks, AddKeepsEntriesAscendingWithoutDuplicates) {
  struct Case {
    std::vector<std::int32_t> inserted;
    std::vector<std::int32_t> expected;
  };
  const Case cases[] = {
      {{}, {}},
      {{5}, {5}},
      {{5, 3, 9, 1}, {1, 3, 5, 9}},
      {{9, 9, 1, 9, 1}, {1, 9}},
      {{2147483647, 1, 1000}, {1, 1000, 2147483647}},
  };
  for (const auto& c : cases) {
    UsedBlockList list(static_cast<std::int32_t>(c.inserted.size()));
    for (const auto position : c.inserted) list.Enter(position);
    const std::vector<std::int32_t> entries(list.UsedBlocks.begin() + 1,
                                            list.UsedBlocks.begin() + 1 + list.UsedBlockCount);
    EXPECT_EQ(entries, c.expected);
    for (const auto position : c.expected) EXPECT_TRUE(IsBlockUsed(list.UsedBlocks, position, 1, list.UsedBlockCount));
    for (const std::int32_t absent : {0, 2, 4, 6, 2147483646})
      EXPECT_FALSE(IsBlockUsed(list.UsedBlocks, absent, 1, list.UsedBlockCount)) << absent;
  }
}

TEST(UsedBlocks, SearchOnlyLooksBetweenLowAndHigh) {
  const std::vector<std::int32_t> list{0, 10, 20, 30, 40};
  EXPECT_TRUE(IsBlockUsed(list, 40, 1, 4));
  EXPECT_FALSE(IsBlockUsed(list, 40, 1, 3));
  EXPECT_FALSE(IsBlockUsed(list, 10, 2, 4));
  EXPECT_FALSE(IsBlockUsed(list, 10, 1, 0));
}

TEST(UsedBlocks, ListStartingWithNoRoomGrows) {
  UsedBlockList list(0);
  EXPECT_EQ(list.Capacity(), 0);
  std::vector<std::int32_t> capacities;
  for (std::int32_t position = 100; position > 0; position -= 20) {
    list.Enter(position);
    capacities.push_back(list.Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<std::int32_t>{1, 2, 4, 4, 8}));
  EXPECT_EQ(list.UsedBlockCount, 5);
  EXPECT_EQ(list.UsedBlocks[1], 20);
  EXPECT_EQ(list.UsedBlocks[5], 100);
}

TEST(UsedBlocks, FullListDoublesAndKeepsEntries) {
  UsedBlockList list(2);
  list.Enter(7);
  list.Enter(3);
  list.Enter(5);
  EXPECT_EQ(list.Capacity(), 4);
  EXPECT_EQ(std::vector<std::int32_t>(list.UsedBlocks.begin() + 1, list.UsedBlocks.begin() + 4),
            (std::vector<std::int32_t>{3, 5, 7}));
}

TEST(ScanLength, CapsAtTheLargestPositionAndNeverWraps) {
  struct Case {
    std::int64_t fileLength;
    std::int32_t expected;
  };
  const Case cases[] = {
      {-1, 2147483647},
      {0, 0},
      {139376, 139376},
      {2147483647, 2147483647},
      {2147483648, 2147483647},
      {4831838208, 2147483647},  // 4.5 GiB; its low 32 bits would give 512 MiB
      {4294967296 + 5, 2147483647},
  };
  for (const auto& c : cases) EXPECT_EQ(ScanLength(c.fileLength), c.expected) << c.fileLength;
}

}  // namespace
