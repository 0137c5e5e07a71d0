#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mailinfo/MailInfo.h"
#include "platform/Utf.h"

namespace {

struct Case {
  std::u16string value;
  std::u16string expected;
};

void ExpectAll(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(ParseMailDate(c.value), c.expected) << platform::ToUtf8(c.value);
  }
}

TEST(ParseMailDate, ReadsDayMonthYearAndTimeIgnoringWeekdayAndZone) {
  ExpectAll({
      {u"Tue, 1 Jan 2002 10:05:03 +0900", u"2002/01/01 10:05:03"},
      {u"Mon, 25 Dec 2000 09:00:00 +0900 (JST)", u"2000/12/25 09:00:00"},
      {u"Tue, 1 Jan 2002 10:05:03 -0500", u"2002/01/01 10:05:03"},
      {u"Tue, 1 Jan 2002 10:05:03 GMT", u"2002/01/01 10:05:03"},
      {u"Tue, 1 JAN 2002 10:05:03 +0900", u"2002/01/01 10:05:03"},
      {u"Sat, 30 nOv 2002 23:59:59 +0900", u"2002/11/30 23:59:59"},
      {u"from mx.example.jp by mail.example.jp with SMTP; Tue, 1 Jan 2002 10:05:03 +0900",
       u"2002/01/01 10:05:03"},
      {u"Tue,   1 Jan   2002  10:05:03   +0900", u"2002/01/01 10:05:03"},
  });
}

TEST(ParseMailDate, KeepsOddFieldsAsWritten) {
  ExpectAll({
      {u"Tue, 1 Jan 02 10:05 +0900", u"02/01/01  10:05"},
      {u"Tue, 1 Jan 2002 9:05:03 +0900", u"2002/01/01  9:05:03"},
      // A NUL between the time and the zone separates them like a space.
      {u"Tue, 1 Jan 2002 10:05:03" + std::u16string(1, u'\0') + u"+0900", u"2002/01/01 10:05:03"},
  });
}

TEST(ParseMailDate, FindsDatesWithoutWeekdayAndDaysOfAnyWidth) {
  ExpectAll({
      {u"1 Jan 2002 10:05:03 +0900", u"2002/01/01 10:05:03"},
      {u"01 Jan 2002 10:05:03 +0900", u"2002/01/01 10:05:03"},
      {u"Mon, 25  Dec 2000 09:00:00 +0900", u"2000/12/25 09:00:00"},
      {u"Mon,25   Dec 2000 09:00:00 +0900", u"2000/12/25 09:00:00"},
      {u"x Jan 2002 10:05:03 +0900", u"2002/01/0x 10:05:03"},
  });
}

TEST(ParseMailDate, CountsOnlyTheAsciiSpaceAsASpace) {
  ExpectAll({
      {u"Tue,\t1 Jan 2002 10:05:03 +0900", u"2002/01/\t1 10:05:03"},
      {u"Tue,\u30001 Jan 2002 10:05:03 +0900", u"2002/01/\u30001 10:05:03"},
  });
}

TEST(ParseMailDate, TakesTheFirstMonthInCalendarOrderNotInPosition) {
  ExpectAll({
      // dec stands first, but jan comes first in the calendar.
      {u"by mx id dec 7; Tue, 1 Jan 2002 10:05:03 +0900", u"2002/01/01 10:05:03"},
      // jan in the routing text wins over the real June date: the words around it are no date.
      {u"by mx id jan 7; Mon, 3 Jun 2002 10:00:00 +0900", u"7;/01/id  Mon,"},
      {u"from relay may be forged; Mon, 3 Jun 2002 10:00:00 +0900", u"be/05/ay  forged;"},
  });
}

TEST(ParseMailDate, ReturnsMarkersForMissingMonthOrFields) {
  ExpectAll({
      {u"", u"(破損)"},
      {u"Tue, 1 2002 10:05:03 +0900", u"(破損)"},
      {u"Tue, 1 Janu 2002 10:05:03 +0900", u"(破損)"},
      // A token at the very start has no day before it and is passed over.
      {u" Jan 2002 10:05:03 +0900", u"(破損)"},
      {u"Tue, 1 Jan 2002 10:05:03", u"(不明)"},
      {u"Tue, 1 Jan 2002", u"(不明)"},
      {u"1 Jan ", u"(不明)"},
  });
}

}  // namespace
