#pragma once
// File time stamps from a message's date. None of these reports a failure.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"

// A local calendar date and time to the second.
using MailDate = platform::LocalDateTime;

// The rename pass's conversion of a date text ("YYYY/MM/DD hh:mm:ss" and the looser forms mail dates
// come in); nullopt for markers and impossible dates.
std::optional<MailDate> DateTextToDate(std::u16string_view text);

void SetCreationTime(const std::u16string& path, const MailDate& date);
void SetLastWriteTime(const std::u16string& path, const MailDate& date);
