// Reading the zone once per run changes no conversion: summer and winter dates, and the hour that
// does not exist, convert as before.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileTimes.h"
#include "tests/support/FileTimesProbe.h"
#include "tests/support/ScopedTimeZone.h"

namespace {

const platform::LocalDateTime kDates[] = {
    {2002, 1, 15, 12, 0, 0}, {2002, 7, 15, 12, 0, 0},  {2007, 3, 11, 2, 30, 0},  {2007, 11, 4, 1, 30, 0},
    {1970, 1, 1, 0, 0, 0},   {1999, 12, 31, 23, 59, 59}, {2038, 1, 19, 3, 14, 8}, {1601, 1, 1, 9, 0, 0},
};

std::vector<platform::FileTime> Converted() {
  std::vector<platform::FileTime> times;
  for (const auto& date : kDates) times.push_back(platform::LocalToFileTime(date));
  return times;
}

#ifndef _WIN32
// The process's TZ as it was, put back afterwards: ReadTimeZoneOnce changes it for the rest of a run.
class SavedTz {
 public:
  SavedTz() {
    if (const char* tz = std::getenv("TZ")) previous_ = tz;
  }
  ~SavedTz() {
    if (previous_) {
      ::setenv("TZ", previous_->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }
  SavedTz(const SavedTz&) = delete;
  SavedTz& operator=(const SavedTz&) = delete;

 private:
  std::optional<std::string> previous_;
};

TEST(ReadTimeZoneOnce, TheSystemZoneGivesTheSameTimes) {
  const SavedTz saved;
  ::unsetenv("TZ");
  ::tzset();
  const auto before = Converted();
  platform::ReadTimeZoneOnce();
  ASSERT_NE(std::getenv("TZ"), nullptr) << "the zone is still looked up in every conversion";
  EXPECT_EQ(Converted(), before);
}
#endif

TEST(ReadTimeZoneOnce, AChosenZoneStaysWithItsSummerTime) {
  const testsupport::ScopedTimeZone zone("America/New_York");
  if (!zone.Unavailable().empty()) GTEST_SKIP() << zone.Unavailable();
  const auto before = Converted();
  platform::ReadTimeZoneOnce();
  const auto after = Converted();
  EXPECT_EQ(after, before);
  EXPECT_EQ(after[0], testsupport::UtcFileTime(2002, 1, 15, 17, 0, 0));
  EXPECT_EQ(after[1], testsupport::UtcFileTime(2002, 7, 15, 16, 0, 0));
}

}  // namespace
