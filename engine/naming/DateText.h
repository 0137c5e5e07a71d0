#pragma once
// The rename pass's reading of the date text the header analysis gives.
#include <optional>
#include <string_view>

#include "engine/naming/MailFileTime.h"

// "YYYY/MM/DD hh:mm:ss" and the looser forms mail dates come in to a date; nullopt for markers and
// impossible dates.
std::optional<MailDate> DateTextToDate(std::u16string_view text);
