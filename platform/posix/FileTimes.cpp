#include "platform/FileTimes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include "platform/Files.h"
#include "platform/Utf.h"

namespace platform {
namespace {

constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
constexpr std::int64_t kTicksPerSecond = 10000000;

int Fd(const OsHandle& handle) { return static_cast<int>(handle.Get()); }

timespec ToTimespec(FileTime time) {
  const auto ticks = static_cast<std::int64_t>(time);
  timespec spec{};
  spec.tv_sec = static_cast<time_t>(ticks / kTicksPerSecond - kSecondsFrom1601To1970);
  spec.tv_nsec = static_cast<long>(ticks % kTicksPerSecond * 100);
  return spec;
}

// Linux file systems keep a birth time but offer no call to set it, so only the last-write time is set.
bool SetLastWriteTime(int fd, FileTime lastWrite) {
  if (lastWrite == 0) return true;
  timespec times[2]{};
  times[0].tv_nsec = UTIME_OMIT;  // access time
  times[1] = ToTimespec(lastWrite);
  return ::futimens(fd, times) == 0;
}

}  // namespace

FileTime LocalToFileTime(const LocalDateTime& local) {
  // mktime would quietly carry an hour of 24 or a 30 February into the next day.
  const bool inRange = local.month >= 1 && local.month <= 12 && local.day >= 1 && local.day <= 31 &&
                       local.hour >= 0 && local.hour <= 23 && local.minute >= 0 && local.minute <= 59 &&
                       local.second >= 0 && local.second <= 59;
  if (!inRange) return 0;
  std::tm fields{};
  fields.tm_year = local.year - 1900;
  fields.tm_mon = local.month - 1;
  fields.tm_mday = local.day;
  fields.tm_hour = local.hour;
  fields.tm_min = local.minute;
  fields.tm_sec = local.second;
  // Let the zone rules of that date decide whether daylight saving time applies.
  fields.tm_isdst = -1;
  // mktime may legitimately return -1 (one second before 1970), so success shows in tm_wday instead.
  fields.tm_wday = -1;
  const std::time_t seconds = std::mktime(&fields);
  if (fields.tm_wday < 0 || fields.tm_mday != local.day) return 0;
  const std::int64_t since1601 = static_cast<std::int64_t>(seconds) + kSecondsFrom1601To1970;
  if (since1601 <= 0 || since1601 > INT64_MAX / kTicksPerSecond) return 0;
  return static_cast<FileTime>(since1601 * kTicksPerSecond);
}

std::optional<LocalDateTime> FileTimeToLocal(FileTime time) {
  if (time == 0) return std::nullopt;
  const auto seconds = static_cast<std::time_t>(static_cast<std::int64_t>(time / kTicksPerSecond) - kSecondsFrom1601To1970);
  std::tm fields{};
  if (!::localtime_r(&seconds, &fields)) return std::nullopt;
  return LocalDateTime{fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
                       fields.tm_hour, fields.tm_min, fields.tm_sec};
}

void ReadTimeZoneOnce() {
  // With TZ unset, glibc takes /etc/localtime and checks the file each time; naming that same file in
  // TZ gives the same rules, and an unchanged TZ is not checked again.
  ::setenv("TZ", ":/etc/localtime", 0);
  ::tzset();
}

std::optional<TimeStampFile> TimeStampFile::Open(const std::u16string& path) {
  // Read and write access, as a time stamp needs ownership or write permission anyway; nothing
  // is ever written through it.
  const int fd = ::open(ToPathBytes(path).c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  return TimeStampFile(OsHandle(fd));
}

bool TimeStampFile::SetTimes(FileTime, FileTime lastWrite) const { return SetLastWriteTime(Fd(handle_), lastWrite); }

bool OutputFile::SetTimes(FileTime, FileTime lastWrite) const { return SetLastWriteTime(Fd(handle_), lastWrite); }

bool SetFileTimes(const std::u16string& path, FileTime, FileTime lastWrite) {
  if (lastWrite == 0) return true;
  timespec times[2]{};
  times[0].tv_nsec = UTIME_OMIT;  // access time
  times[1] = ToTimespec(lastWrite);
  return ::utimensat(AT_FDCWD, ToPathBytes(path).c_str(), times, 0) == 0;
}

}  // namespace platform
