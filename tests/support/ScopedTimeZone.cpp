#include "tests/support/ScopedTimeZone.h"

#include <cstdlib>
#include <ctime>

#ifdef _WIN32
#include <windows.h>

#include <map>
#endif

namespace testsupport {

#ifdef _WIN32
// Windows has one zone for the whole system. Wine chooses it from TZ when a process starts, so the
// test program is started with TZ set (see tests/CMakeLists.txt) and here we only check it.
ScopedTimeZone::ScopedTimeZone(const std::string& zone) {
  static const std::map<std::string, std::wstring> kWindowsNames = {
      {"Asia/Tokyo", L"Tokyo Standard Time"},
      {"America/New_York", L"Eastern Standard Time"},
  };
  DYNAMIC_TIME_ZONE_INFORMATION current{};
  GetDynamicTimeZoneInformation(&current);
  const auto wanted = kWindowsNames.find(zone);
  if (wanted == kWindowsNames.end() || wanted->second != current.TimeZoneKeyName) {
    unavailable_ = "the process does not run in " + zone +
                   "; Windows cannot change the zone of one process (under Wine, start the test with TZ=" + zone + ")";
  }
}

ScopedTimeZone::~ScopedTimeZone() = default;
#else
ScopedTimeZone::ScopedTimeZone(const std::string& zone) {
  if (const char* tz = std::getenv("TZ")) previous_ = tz;
  ::setenv("TZ", zone.c_str(), 1);
  ::tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
  if (previous_) {
    ::setenv("TZ", previous_->c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
}
#endif

}  // namespace testsupport
