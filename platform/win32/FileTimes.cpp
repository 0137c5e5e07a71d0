#include "platform/FileTimes.h"

#include "platform/Files.h"
#include "platform/win32/FileCalls.h"
#include "platform/win32/Handle.h"

namespace platform {
namespace {

using win32::Handle;

FILETIME ToFiletime(FileTime time) {
  return FILETIME{static_cast<DWORD>(time & 0xFFFFFFFFu), static_cast<DWORD>(time >> 32)};
}

bool SetTimesOf(const OsHandle& handle, FileTime creation, FileTime lastWrite) {
  if (creation == 0 && lastWrite == 0) return true;
  // A null pointer leaves that time as it is; the last-access time is always left.
  const FILETIME creationTime = ToFiletime(creation);
  const FILETIME lastWriteTime = ToFiletime(lastWrite);
  return SetFileTime(Handle(handle), creation != 0 ? &creationTime : nullptr, nullptr,
                     lastWrite != 0 ? &lastWriteTime : nullptr) != 0;
}

}  // namespace

FileTime LocalToFileTime(const LocalDateTime& local) {
  const SYSTEMTIME wall{static_cast<WORD>(local.year), static_cast<WORD>(local.month), 0,
                        static_cast<WORD>(local.day),  static_cast<WORD>(local.hour), static_cast<WORD>(local.minute),
                        static_cast<WORD>(local.second), 0};
  FILETIME check{};
  if (local.year < 1601 || !SystemTimeToFileTime(&wall, &check)) return 0;

  // The zone's rules for that date's year, so that a date is read with the offset in force on that
  // date (summer time included) rather than today's.
  DYNAMIC_TIME_ZONE_INFORMATION zone{};
  TIME_ZONE_INFORMATION rules{};
  const bool haveRules = GetDynamicTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID &&
                         GetTimeZoneInformationForYear(static_cast<USHORT>(local.year), &zone, &rules);
  SYSTEMTIME utc{};
  if (!TzSpecificLocalTimeToSystemTime(haveRules ? &rules : nullptr, &wall, &utc)) return 0;
  FILETIME result{};
  if (!SystemTimeToFileTime(&utc, &result)) return 0;
  return (static_cast<FileTime>(result.dwHighDateTime) << 32) | result.dwLowDateTime;
}

std::optional<LocalDateTime> FileTimeToLocal(FileTime time) {
  if (time == 0) return std::nullopt;
  const FILETIME utcTime{static_cast<DWORD>(time & 0xFFFFFFFFu), static_cast<DWORD>(time >> 32)};
  SYSTEMTIME utc{};
  if (!FileTimeToSystemTime(&utcTime, &utc)) return std::nullopt;
  // The zone's rules for that year, as LocalToFileTime reads them.
  DYNAMIC_TIME_ZONE_INFORMATION zone{};
  TIME_ZONE_INFORMATION rules{};
  const bool haveRules = GetDynamicTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID &&
                         GetTimeZoneInformationForYear(utc.wYear, &zone, &rules);
  SYSTEMTIME wall{};
  if (!SystemTimeToTzSpecificLocalTime(haveRules ? &rules : nullptr, &utc, &wall)) return std::nullopt;
  return LocalDateTime{wall.wYear, wall.wMonth, wall.wDay, wall.wHour, wall.wMinute, wall.wSecond};
}

// Windows reads its zone rules into the process already; nothing is looked up again per conversion.
void ReadTimeZoneOnce() {}

std::optional<TimeStampFile> TimeStampFile::Open(const std::u16string& path) {
  const HANDLE file = win32::CreateFileAt(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  return TimeStampFile(win32::Owned(file));
}

bool TimeStampFile::SetTimes(FileTime creation, FileTime lastWrite) const {
  return SetTimesOf(handle_, creation, lastWrite);
}

// Set on the handle, the times hold when it closes: the file system does not overwrite times a
// program has set through that handle.
bool OutputFile::SetTimes(FileTime creation, FileTime lastWrite) const {
  return SetTimesOf(handle_, creation, lastWrite);
}

bool SetFileTimes(const std::u16string& path, FileTime creation, FileTime lastWrite) {
  const auto file = TimeStampFile::Open(path);
  return file && file->SetTimes(creation, lastWrite);
}

}  // namespace platform
