#include <gtest/gtest.h>

#include "engine/naming/MailFileTime.h"
#include "platform/Files.h"
#include "tests/support/FileTimesProbe.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/ScratchFolder.h"

namespace {

using testsupport::ReadFileTimes;
using testsupport::UtcFileTime;

// A time no stamp in these tests uses, so that an untouched time is told apart from a set one.
const platform::FileTime kBefore = UtcFileTime(2010, 5, 6, 7, 8, 9);

#define ENTER_ZONE(zone)                                           \
  const testsupport::ScopedTimeZone inZone(zone);                  \
  if (!inZone.Unavailable().empty()) GTEST_SKIP() << inZone.Unavailable()

class StampedFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_.WriteFile(u"Recover1.eml", "Subject: x\r\n\r\n");
    keepsCreation_ = testsupport::KeepsCreationTime(path_);
    ASSERT_TRUE(testsupport::PresetFileTimes(path_, kBefore));
  }

  // Where the creation time cannot be set (Linux, Wine) only the other times are checked.
  void ExpectCreationWhereKept(const testsupport::ProbedTimes& times, platform::FileTime expected) const {
    if (keepsCreation_) {
      ASSERT_TRUE(times.creation.has_value());
      EXPECT_EQ(*times.creation, expected);
    }
  }

  testsupport::ProbedTimes Times() const {
    const auto times = ReadFileTimes(path_);
    EXPECT_TRUE(times.has_value());
    return times.value_or(testsupport::ProbedTimes{});
  }

  testsupport::ScratchFolder folder_;
  std::u16string path_;
  bool keepsCreation_ = false;
};

TEST(DateToFileTime, ReadsTheDateInTheLocalZone) {
  ENTER_ZONE("Asia/Tokyo");
  EXPECT_EQ(DateToFileTime({2002, 1, 1, 12, 0, 0}), UtcFileTime(2002, 1, 1, 3, 0, 0));
  EXPECT_EQ(DateToFileTime({2002, 7, 15, 12, 0, 0}), UtcFileTime(2002, 7, 15, 3, 0, 0));
  EXPECT_EQ(DateToFileTime({2000, 1, 1, 8, 59, 59}), UtcFileTime(1999, 12, 31, 23, 59, 59));
}

TEST(DateToFileTime, UsesTheOffsetInForceOnThatDate) {
  ENTER_ZONE("America/New_York");
  const struct {
    MailDate local;
    platform::FileTime utc;
  } cases[] = {
      {{2002, 7, 15, 12, 0, 0}, UtcFileTime(2002, 7, 15, 16, 0, 0)},
      {{2002, 1, 15, 12, 0, 0}, UtcFileTime(2002, 1, 15, 17, 0, 0)},
      // Summer time began in April until 2006, and in March since 2007.
      {{2005, 3, 20, 12, 0, 0}, UtcFileTime(2005, 3, 20, 17, 0, 0)},
      {{2008, 3, 20, 12, 0, 0}, UtcFileTime(2008, 3, 20, 16, 0, 0)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateToFileTime(c.local), c.utc) << c.local.year << "-" << c.local.month;
  }
}

TEST(DateToFileTime, GivesNoTimeForDatesBefore1601) {
  ENTER_ZONE("Asia/Tokyo");
  EXPECT_EQ(DateToFileTime({1500, 6, 1, 12, 0, 0}), 0u);
  EXPECT_EQ(DateToFileTime({1601, 1, 1, 0, 0, 0}), 0u);  // 1600-12-31 in UTC
  EXPECT_NE(DateToFileTime({1601, 1, 2, 0, 0, 0}), 0u);
}

TEST_F(StampedFile, NoonInTokyoIsThreeOClockUtcAndTheAccessTimeStays) {
  ENTER_ZONE("Asia/Tokyo");
  const MailDate noon{2002, 1, 1, 12, 0, 0};
  SetCreationTime(path_, noon);
  SetLastWriteTime(path_, noon);
  const auto times = Times();
  EXPECT_EQ(times.lastWrite, UtcFileTime(2002, 1, 1, 3, 0, 0));
  EXPECT_EQ(times.lastAccess, kBefore);
  ExpectCreationWhereKept(times, UtcFileTime(2002, 1, 1, 3, 0, 0));
}

TEST_F(StampedFile, AJulyDateListsAsItsWallClockTimeInWinter) {
  ENTER_ZONE("America/New_York");
  const MailDate july{2002, 7, 15, 12, 0, 0};
  SetCreationTime(path_, july);
  SetLastWriteTime(path_, july);
  const auto times = Times();
  EXPECT_EQ(times.lastWrite, UtcFileTime(2002, 7, 15, 16, 0, 0));
  EXPECT_EQ(times.lastAccess, kBefore);
  ExpectCreationWhereKept(times, UtcFileTime(2002, 7, 15, 16, 0, 0));
}

TEST_F(StampedFile, EachOperationSetsOnlyItsOwnTime) {
  ENTER_ZONE("Asia/Tokyo");
  SetCreationTime(path_, {2002, 1, 1, 12, 0, 0});
  auto times = Times();
  EXPECT_EQ(times.lastWrite, kBefore);
  EXPECT_EQ(times.lastAccess, kBefore);
  ExpectCreationWhereKept(times, UtcFileTime(2002, 1, 1, 3, 0, 0));

  SetLastWriteTime(path_, {2003, 2, 3, 12, 0, 0});
  times = Times();
  EXPECT_EQ(times.lastWrite, UtcFileTime(2003, 2, 3, 3, 0, 0));
  EXPECT_EQ(times.lastAccess, kBefore);
  ExpectCreationWhereKept(times, UtcFileTime(2002, 1, 1, 3, 0, 0));
}

TEST_F(StampedFile, ADateWithoutFileTimeLeavesTheFileAlone) {
  SetCreationTime(path_, {1500, 6, 1, 12, 0, 0});
  SetLastWriteTime(path_, {1500, 6, 1, 12, 0, 0});
  const auto times = Times();
  EXPECT_EQ(times.lastWrite, kBefore);
  EXPECT_EQ(times.lastAccess, kBefore);
  ExpectCreationWhereKept(times, kBefore);
}

TEST_F(StampedFile, BothTimesAtOnceAreTheTwoOperationsOneAfterTheOther) {
  ENTER_ZONE("Asia/Tokyo");
  SetCreationAndLastWriteTime(path_, {1500, 6, 1, 12, 0, 0});
  auto times = Times();
  EXPECT_EQ(times.lastWrite, kBefore);
  ExpectCreationWhereKept(times, kBefore);

  SetCreationAndLastWriteTime(path_, {2002, 1, 1, 12, 0, 0});
  times = Times();
  EXPECT_EQ(times.lastWrite, UtcFileTime(2002, 1, 1, 3, 0, 0));
  EXPECT_EQ(times.lastAccess, kBefore);
  ExpectCreationWhereKept(times, UtcFileTime(2002, 1, 1, 3, 0, 0));
}

TEST(SetFileTimes, AMissingPathDoesNothing) {
  const testsupport::ScratchFolder folder;
  const auto missing = folder.PathOf(u"Recover9.eml");
  SetCreationTime(missing, {2002, 1, 1, 12, 0, 0});
  SetLastWriteTime(missing, {2002, 1, 1, 12, 0, 0});
  SetCreationAndLastWriteTime(missing, {2002, 1, 1, 12, 0, 0});
  EXPECT_FALSE(platform::PathExists(missing));
  EXPECT_FALSE(OpenExistingFile(missing).has_value());
}

}  // namespace
