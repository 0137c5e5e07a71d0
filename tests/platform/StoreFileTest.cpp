// What can be opened as a store, and reads that fail where a store's sectors are known to be bad.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Files.h"
#include "tests/support/RecoveryRun.h"

namespace {

TEST(StoreFile, ReadsFailWhereTheyTouchAKnownBadRangeAndNowhereElse) {
  const testsupport::TempFolder temp;
  const auto path = temp.Path() / "store.dbx";
  std::ofstream(path, std::ios::binary) << std::string(8192, 'x');
  platform::OsError error;
  const auto file = platform::StoreFile::Open(path.u16string(), error, {{4096, 512}, {1000, 10}});
  ASSERT_TRUE(file);
  std::uint8_t bytes[600];
  const struct {
    std::int64_t offset;
    std::size_t size;
    std::int64_t result;
  } cases[] = {{0, 600, 600}, {400, 600, 600}, {401, 600, -1}, {1010, 600, 600}, {3584, 512, 512}, {3585, 512, -1}, {4607, 1, -1},
               {4608, 600, 600}, {8000, 600, 192}};
  for (const auto& c : cases)
    EXPECT_EQ(file->ReadAt(c.offset, std::span(bytes, c.size)), c.result) << c.offset;
}

#ifndef _WIN32
TEST(KindOfPath, TakesBlockDevicesForStoresAndRefusesOtherDevices) {
  EXPECT_EQ(platform::KindOfPath(u"/dev/null"), platform::PathKind::NotRegularFile);
  for (const auto& entry : std::filesystem::directory_iterator("/dev")) {
    if (!entry.is_block_file()) continue;
    EXPECT_EQ(platform::KindOfPath(entry.path().u16string()), platform::PathKind::BlockDevice);
    return;
  }
  GTEST_SKIP() << "no block device to look at";
}
#endif

}  // namespace
