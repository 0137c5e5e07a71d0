#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "engine/naming/DateText.h"
#include "mailinfo/MailInfo.h"
#include "platform/Utf.h"

namespace {

struct Case {
  std::u16string text;
  std::optional<MailDate> expected;
};

auto Fields(const MailDate& d) { return std::tuple(d.year, d.month, d.day, d.hour, d.minute, d.second); }

void ExpectAll(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    const auto date = DateTextToDate(c.text);
    SCOPED_TRACE(platform::ToUtf8(c.text));
    ASSERT_EQ(date.has_value(), c.expected.has_value());
    if (date) {
      EXPECT_EQ(Fields(*date), Fields(*c.expected));
    }
  }
}

TEST(DateTextToDate, ConvertsEveryFormTheDateParserGivesForARealDate) {
  ExpectAll({
      {u"2002/01/01 10:05:03", MailDate{2002, 1, 1, 10, 5, 3}},
      {u"2000/12/25 23:59:59", MailDate{2000, 12, 25, 23, 59, 59}},
      {u"2002/01/01  10:05", MailDate{2002, 1, 1, 10, 5, 0}},
      {u"2002/01/01  9:05:03", MailDate{2002, 1, 1, 9, 5, 3}},
      {u"2002/1/1 0:00:00", MailDate{2002, 1, 1, 0, 0, 0}},
      {u"2000/02/29 12:00:00", MailDate{2000, 2, 29, 12, 0, 0}},
      {u"2004/02/29 12:00:00", MailDate{2004, 2, 29, 12, 0, 0}},
  });
}

TEST(DateTextToDate, ReadsTwoDigitYearsAround2030) {
  ExpectAll({
      {u"02/01/01 10:05:03", MailDate{2002, 1, 1, 10, 5, 3}},
      {u"00/02/29 10:05:03", MailDate{2000, 2, 29, 10, 5, 3}},
      {u"29/12/31  23:59", MailDate{2029, 12, 31, 23, 59, 0}},
      {u"30/01/01 00:00:00", MailDate{1930, 1, 1, 0, 0, 0}},
      {u"99/12/31 23:59:59", MailDate{1999, 12, 31, 23, 59, 59}},
  });
}

TEST(DateTextToDate, RejectsMarkersAndImpossibleDates) {
  ExpectAll({
      {u"(不明)", std::nullopt},
      {u"(破損)", std::nullopt},
      {u"[不明]", std::nullopt},
      {u"", std::nullopt},
      {u"2002/13/01 10:00:00", std::nullopt},
      {u"2002/00/01 10:00:00", std::nullopt},
      {u"2002/01/32 10:00:00", std::nullopt},
      {u"2002/01/00 10:00:00", std::nullopt},
      {u"2002/02/30 10:00:00", std::nullopt},
      {u"2001/02/29 10:00:00", std::nullopt},
      {u"1900/02/29 10:00:00", std::nullopt},
      {u"2002/01/01 24:00:00", std::nullopt},
      {u"2002/01/01 10:60:00", std::nullopt},
      {u"2002/01/01 10:00:60", std::nullopt},
      {u"0000/01/01 10:00:00", std::nullopt},
  });
}

TEST(DateTextToDate, RejectsTextThatIsNotExactlyADate) {
  ExpectAll({
      {u"2002/01/01", std::nullopt},
      {u"2002/01/01 ", std::nullopt},
      {u"2002/01/0110:05:03", std::nullopt},
      {u"2002/01/01 10:05:03 +0900", std::nullopt},
      {u" 2002/01/01 10:05:03", std::nullopt},
      {u"002/01/01 10:05:03", std::nullopt},
      {u"20020/01/01 10:05:03", std::nullopt},
      {u"2002/001/01 10:05:03", std::nullopt},
      {u"2002/01/01 100:05:03", std::nullopt},
      {u"2002/01/01 10:5:03", std::nullopt},
      {u"2002/01/01 10:05:3", std::nullopt},
      {u"2002/01/01 10:05:", std::nullopt},
      {u"2002/01/\t1 10:05:03", std::nullopt},
      {u"2002/01/01 5:03.123456", std::nullopt},
  });
}

// Whatever the date parser makes of a header value, the rename pass either gets the header's
// wall-clock time or no time at all.
TEST(DateTextToDate, AcceptsWhatTheDateParserMakesOfRealDatesOnly) {
  ExpectAll({
      {ParseMailDate(u"Tue, 1 Jan 02 10:05 +0900"), MailDate{2002, 1, 1, 10, 5, 0}},
      {ParseMailDate(u"Sun, 7 Mar 1999 9:05:03 -0500"), MailDate{1999, 3, 7, 9, 5, 3}},
      {ParseMailDate(u"by mx id jan 7; Mon, 3 Jun 2002 10:00:00 +0900"), std::nullopt},
      {ParseMailDate(u"Tue, 1 Jan 2002 10:05:03"), std::nullopt},
      {ParseMailDate(u"no date here"), std::nullopt},
  });
}

}  // namespace
