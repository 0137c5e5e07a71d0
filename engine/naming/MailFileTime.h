#pragma once
// File time stamps from a message's date. None of these reports a failure.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Clock.h"
#include "platform/FileTimes.h"

// A local calendar date and time to the second.
using MailDate = platform::LocalDateTime;

// The UTC file time of a local date and time, with the zone rules in force on that date; zero when
// the date cannot be represented (before 1601).
platform::FileTime DateToFileTime(const MailDate& date);
// The existing file at path, opened to set its times; nullopt when it is missing or cannot be opened.
std::optional<platform::TimeStampFile> OpenExistingFile(const std::u16string& path);

void SetCreationTime(const std::u16string& path, const MailDate& date);
void SetLastWriteTime(const std::u16string& path, const MailDate& date);
// Both of them, with one opening of the file.
void SetCreationAndLastWriteTime(const std::u16string& path, const MailDate& date);
