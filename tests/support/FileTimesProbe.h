#pragma once
// Reads and presets a file's times around the code under test, in the platform's file-time units.
#include <optional>
#include <string>

#include "platform/FileTimes.h"

namespace testsupport {

struct ProbedTimes {
  std::optional<platform::FileTime> creation;  // nullopt where the system reports none
  platform::FileTime lastAccess = 0;
  platform::FileTime lastWrite = 0;
};

std::optional<ProbedTimes> ReadFileTimes(const std::u16string& path);
// Whether a creation time set on this file reads back as set: not on Linux, and not under Wine, which
// reports a creation time derived from the other times and ignores attempts to set it.
bool KeepsCreationTime(const std::u16string& path);
// Sets all three times (the creation time where it can be set); true on success.
bool PresetFileTimes(const std::u16string& path, platform::FileTime all);

// The file time of a UTC calendar time, computed without the system's zone.
platform::FileTime UtcFileTime(int year, int month, int day, int hour, int minute, int second);

}  // namespace testsupport
