#include "engine/naming/DateText.h"

namespace {

// Reads the date text left to right; every step fails on anything but the expected characters.
class DateTextReader {
 public:
  explicit DateTextReader(std::u16string_view text) : text_(text) {}

  // A number of minDigits to maxDigits digits, not followed by a further digit.
  std::optional<int> Number(std::size_t minDigits, std::size_t maxDigits) {
    std::size_t count = 0;
    int value = 0;
    while (at_ < text_.size() && IsDigit(text_[at_])) {
      if (++count > maxDigits) return std::nullopt;
      value = value * 10 + (text_[at_] - u'0');
      ++at_;
    }
    if (count < minDigits) return std::nullopt;
    digitsRead_ = count;
    return value;
  }

  std::size_t DigitsRead() const { return digitsRead_; }

  bool Take(char16_t c) {
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }

  // One or more spaces.
  bool Spaces() {
    if (!Take(u' ')) return false;
    while (Take(u' ')) {
    }
    return true;
  }

  bool AtEnd() const { return at_ == text_.size(); }

 private:
  static bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

  std::u16string_view text_;
  std::size_t at_ = 0;
  std::size_t digitsRead_ = 0;
};

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Two-digit years as the mail dates of the last century and this one are read: 00-29 in this one.
int FullYear(int twoDigitYear) { return twoDigitYear < 30 ? 2000 + twoDigitYear : 1900 + twoDigitYear; }

}  // namespace

// Accepts "Y/M/D h:mm[:ss]" with a two- or four-digit year, one or two digits for month, day and
// hour, and any run of spaces before the time: every form the date parser can produce for a real date.
std::optional<MailDate> DateTextToDate(std::u16string_view text) {
  DateTextReader reader(text);
  MailDate date;

  const auto year = reader.Number(2, 4);
  if (!year || reader.DigitsRead() == 3 || !reader.Take(u'/')) return std::nullopt;
  date.year = reader.DigitsRead() == 2 ? FullYear(*year) : *year;
  const auto month = reader.Number(1, 2);
  if (!month || !reader.Take(u'/')) return std::nullopt;
  const auto day = reader.Number(1, 2);
  if (!day || !reader.Spaces()) return std::nullopt;
  const auto hour = reader.Number(1, 2);
  if (!hour || !reader.Take(u':')) return std::nullopt;
  const auto minute = reader.Number(2, 2);
  if (!minute) return std::nullopt;
  std::optional<int> second = 0;
  if (reader.Take(u':')) second = reader.Number(2, 2);
  if (!second || !reader.AtEnd()) return std::nullopt;

  date.month = *month;
  date.day = *day;
  date.hour = *hour;
  date.minute = *minute;
  date.second = *second;
  const bool valid = date.year >= 1 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
                     date.day <= DaysInMonth(date.year, date.month) && date.hour <= 23 && date.minute <= 59 &&
                     date.second <= 59;
  if (!valid) return std::nullopt;
  return date;
}
