// The step to a chain's next block, below 4 GiB and across it.
#include <gtest/gtest.h>

#include <optional>

#include "engine/ChainStep.h"

namespace {

constexpr std::int64_t kGiB = std::int64_t{1} << 30;
constexpr std::int64_t k4GiB = std::int64_t{1} << 32;

struct StepCase {
  const char* what;
  std::int64_t offset;
  std::uint32_t own;
  std::uint32_t next;
  std::int64_t length;
  std::optional<std::int64_t> expected;
};

TEST(ChainStep, NextBlockIsTheNearestCongruentOffsetInsideTheFile) {
  const StepCase cases[] = {
      {"forward", 0x3000, 0x3000, 0x3210, 1 << 20, 0x3210},
      {"backward", 0x3210, 0x3210, 0x3000, 1 << 20, 0x3000},
      {"displaced by 7", 0x3007, 0x3000, 0x5000, 1 << 20, 0x5007},
      {"beyond the end", 0x3000, 0x3000, 0x7FFF0000, 1 << 20, std::nullopt},
      {"displaced before the start", 0x1000, 0x3000, 0x1000, 1 << 20, std::nullopt},
      {"forward by 3 GiB below 4 GiB", 0x3000, 0x3000, 0xC0003000u, 4 * kGiB - 1, 0xC0003000},
      {"back by 3 GiB below 4 GiB", 0xC0003000, 0xC0003000u, 0x3000, 4 * kGiB - 1, 0x3000},
      {"across 4 GiB, words wrapped", 0xFFFFFE00, 0xFFFFFE00u, 0x410, 5 * kGiB, k4GiB + 0x410},
      {"back across 4 GiB", k4GiB + 0x410, 0x410, 0xFFFFFE00u, 5 * kGiB, 0xFFFFFE00},
      {"store at an odd offset beyond 4 GiB", k4GiB + 0x1234567, 0x1234560, 0x1234770, 5 * kGiB, k4GiB + 0x1234777},
      {"a tie goes forward", 3 * kGiB, 0, 0x80000000u, 8 * kGiB, 5 * kGiB},
      {"the nearest lies beyond the end", 4 * kGiB + kGiB / 2, 0x20000000u, 0xA0000000u, 5 * kGiB, 2 * kGiB + kGiB / 2},
  };
  for (const StepCase& c : cases) EXPECT_EQ(NextBlockOffset(c.offset, c.own, c.next, c.length), c.expected) << c.what;
}

}  // namespace
