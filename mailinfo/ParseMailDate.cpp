#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mailinfo/AsciiLower.h"
#include "mailinfo/MailInfo.h"
#include "mailinfo/Markers.h"

namespace {

constexpr std::u16string_view kMonthTable = u" jan feb mar apr may jun jul aug sep oct nov dec ";

struct MonthFound {
  int month = 0;
  std::size_t tokenAt = 0;  // index of the token's leading space
};

// The first month in calendar order whose first occurrence leaves room for a day word before it.
// A token at index 0 has nothing before it and is passed over.
std::optional<MonthFound> FindMonth(std::u16string_view lowered) {
  for (int month = 1; month <= 12; ++month) {
    const auto token = kMonthTable.substr(static_cast<std::size_t>(4 * (month - 1)), 5);
    const auto at = lowered.find(token);
    if (at != std::u16string_view::npos && at >= 1) return MonthFound{month, at};
  }
  return std::nullopt;
}

// From the start of the last word before the token, so that a day of any width and any spacing
// before the month name survive.
std::u16string DateTextFrom(std::u16string_view value, std::size_t tokenAt) {
  std::size_t start = tokenAt;
  while (start > 0 && value[start - 1] == u' ') --start;
  while (start > 0 && value[start - 1] != u' ') --start;
  std::u16string text(value.substr(start));
  text.erase(0, text.find_first_not_of(u' '));
  return text;
}

void CleanUp(std::u16string& text) {
  for (auto pair = text.find(u"  "); pair != std::u16string::npos; pair = text.find(u"  ", pair)) {
    text.erase(pair, 1);
  }
  for (auto& c : text) {
    if (c == u'\0') c = u' ';
  }
}

std::vector<std::u16string_view> SplitAtSpaces(std::u16string_view text) {
  std::vector<std::u16string_view> fields;
  std::size_t start = 0;
  while (true) {
    const auto space = text.find(u' ', start);
    fields.push_back(text.substr(start, space == std::u16string_view::npos ? space : space - start));
    if (space == std::u16string_view::npos) return fields;
    start = space + 1;
  }
}

std::u16string_view LastChars(std::u16string_view text, std::size_t count) {
  return text.size() <= count ? text : text.substr(text.size() - count);
}

}  // namespace

std::u16string ParseMailDate(std::u16string_view value) {
  const auto month = FindMonth(AsciiLower(value));
  if (!month) return std::u16string(kDamagedMarker);

  std::u16string text = DateTextFrom(value, month->tokenAt);
  CleanUp(text);
  const auto fields = SplitAtSpaces(text);
  if (fields.size() < 5) return std::u16string(kUnknownMarker);

  const std::u16string_view day = fields[0];
  const std::u16string_view year = fields[2];
  const std::u16string_view time = fields[3];
  const std::u16string zeroDay = u"0" + std::u16string(day);
  const std::u16string spacedTime = u" " + std::u16string(time);

  std::u16string result(year);
  result += u'/';
  result += static_cast<char16_t>(u'0' + month->month / 10);
  result += static_cast<char16_t>(u'0' + month->month % 10);
  result += u'/';
  result += LastChars(zeroDay, 2);
  result += u' ';
  result += LastChars(spacedTime, 8);
  return result;
}
