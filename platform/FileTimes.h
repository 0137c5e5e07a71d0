#pragma once
// File times: the conversion of a local wall-clock time and the setting of one time of a file.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "platform/Clock.h"
#include "platform/OsHandle.h"

namespace platform {

// 100-nanosecond intervals since 1601-01-01 00:00 UTC. Zero stands for "no time": a file time of
// zero is never set.
using FileTime = std::uint64_t;

// The UTC file time of a local date and time, read with the zone rules in force on that date (a July
// date in a zone with daylight saving time uses the summer offset). Zero when there is no such time
// (before 1601, or beyond what the system can convert).
FileTime LocalToFileTime(const LocalDateTime& local);

// The local date and time of a UTC file time, with the zone rules in force then; nullopt for zero or
// a time the system cannot convert.
std::optional<LocalDateTime> FileTimeToLocal(FileTime time);

// Called once when a run starts, so that the run's LocalToFileTime calls no longer look at the system's
// zone setting again (glibc reads /etc/localtime's status in every conversion when TZ is unset). The
// results stay exactly the same; a change of the system's zone during the run is no longer followed.
void ReadTimeZoneOnce();

// An existing file opened so that its times can be set; never created, never written to.
class TimeStampFile {
 public:
  static std::optional<TimeStampFile> Open(const std::u16string& path);

  // Sets the times that are not zero; the last-access time is never changed. Where the file system
  // has no settable creation time (Linux), the creation time is ignored. False when the system refused.
  bool SetTimes(FileTime creation, FileTime lastWrite) const;

 private:
  explicit TimeStampFile(OsHandle handle) : handle_(std::move(handle)) {}
  OsHandle handle_;
};

// What TimeStampFile::Open and SetTimes do together, without opening the file where the system can
// set times by path. False when the file is missing or the system refused.
bool SetFileTimes(const std::u16string& path, FileTime creation, FileTime lastWrite);

}  // namespace platform
