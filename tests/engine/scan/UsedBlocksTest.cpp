#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

#include "engine/scan/StoreReader.h"
#include "engine/scan/UsedBlocks.h"

namespace {

TEST(UsedBlocks, AddKeepsEntriesAscendingWithoutDuplicates) {
  struct Case {
    std::vector<std::int64_t> inserted;
    std::vector<std::int64_t> expected;
  };
  const Case cases[] = {
      {{}, {}},
      {{5}, {5}},
      {{5, 3, 9, 1}, {1, 3, 5, 9}},
      {{9, 9, 1, 9, 1}, {1, 9}},
      {{2147483647, 1, 1000}, {1, 1000, 2147483647}},
      {{5368709121, 4294967297, 2147483649}, {2147483649, 4294967297, 5368709121}},
  };
  for (const auto& c : cases) {
    std::vector<std::int64_t> list(c.inserted.size() + 1, 0);
    std::int32_t count = 0;
    for (const auto position : c.inserted) AddUsedBlock(list, position, 1, count);
    EXPECT_EQ(std::vector<std::int64_t>(list.begin() + 1, list.begin() + 1 + count), c.expected);
    for (const auto position : c.expected) EXPECT_TRUE(IsBlockUsed(list, position, 1, count));
    for (const std::int64_t absent : {std::int64_t{0}, std::int64_t{2}, std::int64_t{6}, std::int64_t{2147483646}, std::int64_t{4294967296}}) EXPECT_FALSE(IsBlockUsed(list, absent, 1, count)) << absent;
  }
}

TEST(UsedBlocks, SearchOnlyLooksBetweenLowAndHigh) {
  const std::vector<std::int64_t> list{0, 10, 20, 30, 40};
  EXPECT_TRUE(IsBlockUsed(list, 40, 1, 4));
  EXPECT_FALSE(IsBlockUsed(list, 40, 1, 3));
  EXPECT_FALSE(IsBlockUsed(list, 10, 2, 4));
  EXPECT_FALSE(IsBlockUsed(list, 10, 1, 0));
}

std::vector<std::int64_t> Shuffled(std::vector<std::int64_t> positions, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::shuffle(positions.begin(), positions.end(), random);
  return positions;
}

// Block positions as chains leave them: ascending, backwards, every message backwards, at random,
// with repeats, one below everything after the list has filled several chunks, and crafted distances.
TEST(UsedBlockList, HoldsWhatTheSortedListHoldsInEveryOrder) {
  constexpr std::int32_t kCount = 5 * UsedBlockList::kChunkEntries + 37;
  std::vector<std::int64_t> ascending;
  for (std::int32_t i = 0; i < kCount; ++i) ascending.push_back(9'413 + i * 528);
  std::vector<std::int64_t> backwardMessages;
  for (std::int32_t message = 0; message < kCount / 40; ++message)
    for (std::int32_t block = 39; block >= 0; --block) backwardMessages.push_back(ascending[message * 40 + block]);
  std::vector<std::int64_t> repeated = Shuffled(ascending, 7);
  repeated.insert(repeated.end(), ascending.begin(), ascending.begin() + kCount / 2);
  std::vector<std::int64_t> lowLast(ascending.begin() + 1, ascending.end());
  lowLast.push_back(ascending.front());
  lowLast.push_back(2'147'483'647);
  lowLast.push_back(5'368'709'121);
  std::vector<std::int64_t> crafted;  // distances of one byte and of several, as crafted chains give
  for (std::int32_t i = 0; i < kCount; ++i) crafted.push_back(1 + i * 3 + (i % 7 == 0 ? std::int64_t{i} << 30 : 0));

  const std::vector<std::int64_t> orders[] = {
      ascending,       {ascending.rbegin(), ascending.rend()}, backwardMessages, Shuffled(ascending, 1),
      repeated,        lowLast,  Shuffled(crafted, 3),
  };
  for (std::size_t i = 0; i < std::size(orders); ++i) {
    SCOPED_TRACE(i);
    UsedBlockList list;
    std::set<std::int64_t> expected;
    for (const auto position : orders[i]) {
      list.Enter(position);
      expected.insert(position);
    }
    EXPECT_EQ(list.Entries(), std::vector<std::int64_t>(expected.begin(), expected.end()));
    EXPECT_EQ(list.UsedBlockCount(), static_cast<std::int64_t>(expected.size()));
    for (const auto position : expected) {
      ASSERT_TRUE(list.Contains(position)) << position;
      for (const std::int64_t neighbour : {position - 1, position + 1}) {
        if (!expected.contains(neighbour)) {
          ASSERT_FALSE(list.Contains(neighbour)) << neighbour;
        }
      }
    }
  }
}

TEST(UsedBlockList, EmptyListHoldsNothing) {
  const UsedBlockList list;
  EXPECT_FALSE(list.Contains(1));
  EXPECT_FALSE(list.Contains(0));
  EXPECT_EQ(list.UsedBlockCount(), 0);
  EXPECT_TRUE(list.Entries().empty());
}

TEST(ScanLength, IsTheWholeFileAndOnlyAnUnknownLengthIsGuessed) {
  struct Case {
    std::int64_t fileLength;
    std::int64_t expected;
  };
  const Case cases[] = {
      {-1, 2147483647},
      {0, 0},
      {139376, 139376},
      {2147483647, 2147483647},
      {2147483648, 2147483648},
      {4831838208, 4831838208},  // 4.5 GiB: neither capped nor cut to its low 32 bits
      {4294967296 + 5, 4294967296 + 5},
  };
  for (const auto& c : cases) EXPECT_EQ(ScanLength(c.fileLength), c.expected) << c.fileLength;
}

}  // namespace
