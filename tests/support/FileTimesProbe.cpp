#include "tests/support/FileTimesProbe.h"

#ifdef _WIN32
#include "platform/win32/Wide.h"
#else
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/Utf.h"
#endif

namespace testsupport {
namespace {

constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
constexpr std::int64_t kTicksPerSecond = 10000000;

// Days from 1970-01-01 to a proleptic Gregorian date (Howard Hinnant's days_from_civil).
std::int64_t DaysFromCivil(int year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int era = (year >= 0 ? year : year - 399) / 400;
  const int yearOfEra = year - era * 400;
  const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return static_cast<std::int64_t>(era) * 146097 + dayOfEra - 719468;
}

#ifdef _WIN32
platform::FileTime FromFiletime(const FILETIME& time) {
  return (static_cast<platform::FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME ToFiletime(platform::FileTime time) {
  return FILETIME{static_cast<DWORD>(time & 0xFFFFFFFFu), static_cast<DWORD>(time >> 32)};
}

HANDLE OpenForAttributes(const std::u16string& path) {
  return CreateFileW(platform::win32::Wide(path), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
#else
platform::FileTime FromTimespec(const timespec& time) {
  return static_cast<platform::FileTime>((time.tv_sec + kSecondsFrom1601To1970) * kTicksPerSecond + time.tv_nsec / 100);
}

timespec ToTimespec(platform::FileTime time) {
  const auto ticks = static_cast<std::int64_t>(time);
  return timespec{static_cast<time_t>(ticks / kTicksPerSecond - kSecondsFrom1601To1970),
                  static_cast<long>(ticks % kTicksPerSecond * 100)};
}
#endif

}  // namespace

platform::FileTime UtcFileTime(int year, int month, int day, int hour, int minute, int second) {
  const std::int64_t seconds = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
  return static_cast<platform::FileTime>((seconds + kSecondsFrom1601To1970) * kTicksPerSecond);
}

#ifdef _WIN32
std::optional<ProbedTimes> ReadFileTimes(const std::u16string& path) {
  const HANDLE file = OpenForAttributes(path);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  FILETIME creation{}, access{}, write{};
  const BOOL read = GetFileTime(file, &creation, &access, &write);
  CloseHandle(file);
  if (!read) return std::nullopt;
  return ProbedTimes{FromFiletime(creation), FromFiletime(access), FromFiletime(write)};
}

bool KeepsCreationTime(const std::u16string& path) {
  const HANDLE file = OpenForAttributes(path);
  if (file == INVALID_HANDLE_VALUE) return false;
  const FILETIME creation = ToFiletime(UtcFileTime(2001, 1, 1, 0, 0, 0));
  const FILETIME later = ToFiletime(UtcFileTime(2011, 1, 1, 0, 0, 0));
  FILETIME readBack{};
  const bool kept = SetFileTime(file, &creation, &later, &later) && GetFileTime(file, &readBack, nullptr, nullptr) &&
                    FromFiletime(readBack) == FromFiletime(creation);
  CloseHandle(file);
  return kept;
}

bool PresetFileTimes(const std::u16string& path, platform::FileTime all) {
  const HANDLE file = OpenForAttributes(path);
  if (file == INVALID_HANDLE_VALUE) return false;
  const FILETIME time = ToFiletime(all);
  const BOOL set = SetFileTime(file, &time, &time, &time);
  CloseHandle(file);
  return set != 0;
}
#else
std::optional<ProbedTimes> ReadFileTimes(const std::u16string& path) {
  struct stat info {};
  if (::stat(platform::ToUtf8(path).c_str(), &info) != 0) return std::nullopt;
  return ProbedTimes{std::nullopt, FromTimespec(info.st_atim), FromTimespec(info.st_mtim)};
}

bool KeepsCreationTime(const std::u16string&) { return false; }

bool PresetFileTimes(const std::u16string& path, platform::FileTime all) {
  const timespec times[2] = {ToTimespec(all), ToTimespec(all)};
  return ::utimensat(AT_FDCWD, platform::ToUtf8(path).c_str(), times, 0) == 0;
}
#endif

}  // namespace testsupport
