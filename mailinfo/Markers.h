#pragma once
// The texts that stand where a header value could not be found; they flow on as ordinary text.
#include <string_view>

inline constexpr std::u16string_view kNoSubjectMarker = u"(件名なし)";  // no Subject field
inline constexpr std::u16string_view kUnknownMarker = u"(不明)";        // no date field, or too few date parts
inline constexpr std::u16string_view kDamagedMarker = u"(破損)";        // a date without a month name
inline constexpr std::u16string_view kFailedMarker = u"[不明]";         // the analysis failed
