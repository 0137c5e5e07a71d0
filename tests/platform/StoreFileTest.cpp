#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Files.h"

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
