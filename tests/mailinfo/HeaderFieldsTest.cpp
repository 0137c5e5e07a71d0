#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "convert/Cp932.h"
#include "mailinfo/MailInfo.h"
#include "platform/Utf.h"

namespace {

constexpr std::u16string_view kNoSubject = u"(件名なし)";
constexpr std::u16string_view kUnknown = u"(不明)";
constexpr std::u16string_view kDamaged = u"(破損)";
constexpr std::u16string_view kFailed = u"[不明]";
constexpr std::u16string_view kJan2002 = u"2002/01/01 10:05:03";
constexpr std::u16string_view kDec2000 = u"2000/12/25 09:00:00";

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

struct Case {
  std::string name;
  std::string message;  // bytes as stored
  std::u16string subject;
  std::u16string receivedDate;
  std::optional<std::u16string> sender = std::nullopt;  // checked when given
};

void ExpectAll(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const HeaderInfo info = AnalyseHeaderBytes(AsBytes(c.message));
    EXPECT_EQ(platform::ToUtf8(info.Subject), platform::ToUtf8(c.subject));
    EXPECT_EQ(platform::ToUtf8(info.ReceivedDate), platform::ToUtf8(c.receivedDate));
    if (c.sender) {
      EXPECT_EQ(platform::ToUtf8(info.Sender), platform::ToUtf8(*c.sender));
    }
  }
}

TEST(AnalyseHeader, FindsFieldNamesAnywhereAsLowercaseTextWithOneSpace) {
  ExpectAll({
      {"plain", "Subject: Hello\r\nDate: Tue, 1 Jan 2002 10:05:03 +0900\r\n\r\nbody", u"Hello",
       std::u16string(kJan2002)},
      {"capitals keep their case in the value", "SUBJECT: Hello World\r\nDATE: Tue, 1 JAN 2002 10:05:03 +0900\r\n\r\n",
       u"Hello World", std::u16string(kJan2002)},
      {"no space after the colon", "Subject:Hello\r\nDate:Tue, 1 Jan 2002 10:05:03 +0900\r\n\r\n",
       std::u16string(kNoSubject), std::u16string(kUnknown)},
      {"two spaces after the colon", "Subject:  Hello \r\n\r\n", u" Hello ", std::u16string(kUnknown)},
      {"empty value", "Subject: \r\n\r\n", u"", std::u16string(kUnknown)},
      {"inside a longer name", "X-Subject: first\r\nSubject: second\r\n\r\n", u"first", std::u16string(kUnknown)},
      {"inside another value", "Comments: the subject: is here\r\nSubject: real\r\n\r\n", u"is here",
       std::u16string(kUnknown)},
      {"last header line", "From: a@example.jp\r\nSubject: last\r\n\r\nSubject: body", u"last",
       std::u16string(kUnknown)},
      {"only the header part", "From: a@example.jp\r\n\r\nSubject: in the body\r\n", std::u16string(kNoSubject),
       std::u16string(kUnknown)},
      {"no empty line: the body is searched too", "From: a@example.jp\r\nbody text\r\nSubject: in the body",
       u"in the body", std::u16string(kUnknown)},
      {"empty", "", std::u16string(kNoSubject), std::u16string(kUnknown)},
      {"the sender: From at a line's start, a quoted encoded name",
       "X-From: x\r\nFrom: \"=?ISO-2022-JP?B?GyRCOzNFRBsoQiAbJEJCQE86GyhC?=\" <taro@example.jp>\r\n\r\n",
       std::u16string(kNoSubject), std::u16string(kUnknown), u"山田 太郎"},
      {"the sender: an address alone", "From: <taro@example.jp>\r\n\r\n", std::u16string(kNoSubject),
       std::u16string(kUnknown), u"taro@example.jp"},
      {"the sender: a name in a comment", "From: taro@example.jp (Taro)\r\n\r\n", std::u16string(kNoSubject),
       std::u16string(kUnknown), u"Taro"},
  });
}

TEST(AnalyseHeader, TakesTheFirstReceivedAndTheDateOnlyWithoutOne) {
  ExpectAll({
      {"received before date",
       "Received: from a by b; Tue, 1 Jan 2002 10:05:03 +0900\r\nDate: Mon, 25 Dec 2000 09:00:00 +0900\r\n\r\n",
       std::u16string(kNoSubject), std::u16string(kJan2002)},
      {"first of two received",
       "Received: by b; Tue, 1 Jan 2002 10:05:03 +0900\r\nReceived: by c; Mon, 25 Dec 2000 09:00:00 +0900\r\n\r\n",
       std::u16string(kNoSubject), std::u16string(kJan2002)},
      {"x-received counts as received",
       "X-Received: by x; Mon, 25 Dec 2000 09:00:00 +0900\r\nReceived: by b; Tue, 1 Jan 2002 10:05:03 +0900\r\n\r\n",
       std::u16string(kNoSubject), std::u16string(kDec2000)},
      {"resent-date counts as date",
       "Resent-Date: Mon, 25 Dec 2000 09:00:00 +0900\r\nDate: Tue, 1 Jan 2002 10:05:03 +0900\r\n\r\n",
       std::u16string(kNoSubject), std::u16string(kDec2000)},
      {"received without month does not fall back to date",
       "Received: from a by b with SMTP id 42\r\nDate: Tue, 1 Jan 2002 10:05:03 +0900\r\n\r\n",
       std::u16string(kNoSubject), std::u16string(kDamaged)},
      {"received without zone", "Received: from a; Tue, 1 Jan 2002 10:05:03\r\n\r\n", std::u16string(kNoSubject),
       std::u16string(kUnknown)},
      {"neither", "Subject: x\r\nFrom: a@example.jp\r\n\r\n", u"x", std::u16string(kUnknown)},
  });
}

TEST(AnalyseHeader, UnfoldsSubjectAndReceivedButNotDate) {
  ExpectAll({
      {"folded received",
       "Received: from a by b\r\n\twith SMTP id 42;\r\n Tue, 1 Jan 2002 10:05:03 +0900\r\n\r\n",
       std::u16string(kNoSubject), std::u16string(kJan2002)},
      {"folded date: its first line only", "Date: Tue,\r\n 1 Jan 2002 10:05:03 +0900\r\n\r\n",
       std::u16string(kNoSubject), std::u16string(kDamaged)},
      {"tab then spaces go", "Subject: ab\r\n\t  cd\r\n\r\n", u"abcd", std::u16string(kUnknown)},
      {"two spaces then tab: the tab stays", "Subject: ab\r\n  \tcd\r\n\r\n", u"ab\tcd", std::u16string(kUnknown)},
      {"several continuation lines", "Subject: a\r\n b\r\n\tc\r\nDate: Tue, 1 Jan 2002 10:05:03 +0900\r\n\r\n", u"abc",
       std::u16string(kJan2002)},
      {"two encoded words meet without a gap",
       "Subject: =?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?=\r\n =?ISO-2022-JP?B?GyRCJWEhPCVrGyhC?=\r\n\r\n", u"テストメール",
       std::u16string(kUnknown)},
  });
}

TEST(AnalyseHeader, ReadsRawBytesAsCodePage932) {
  const std::string utf8Subject = "\xE6\x97\xA5\xE6\x9C\xAC";  // 日本 in UTF-8
  const std::u16string utf8AsCp932 = Cp932ToUnicode(AsBytes(utf8Subject));
  ASSERT_NE(utf8AsCp932, u"日本");
  ExpectAll({
      {"shift_jis", "Subject: \x83\x65\x83\x58\x83\x67\r\n\r\n", u"テスト", std::u16string(kUnknown)},
      {"utf-8", "Subject: " + utf8Subject + "\r\n\r\n", utf8AsCp932, std::u16string(kUnknown)},
      {"euc-jp", "Subject: \xA5\xC6\xA5\xB9\xA5\xC8\r\n\r\n", u"\uFF65\uFF86\uFF65\uFF79\uFF65\uFF88",
       std::u16string(kUnknown)},
  });
}

TEST(AnalyseHeader, ADecoderFailureMarksBothFields) {
  // A Shift_JIS lead byte as the last byte of an ISO-2022-JP word.
  ExpectAll({
      {"broken word", "Subject: =?iso-2022-jp?B?GyRCJUYbKEKC?=\r\nDate: Tue, 1 Jan 2002 10:05:03 +0900\r\n\r\n",
       std::u16string(kFailed), std::u16string(kFailed)},
  });
}

TEST(AnalyseHeader, ReadsOnlyTheFirst64KiB) {
  const std::string subject = "Subject: late\r\n";
  const std::string filler(kHeaderReadLimit - subject.size(), 'x');
  ExpectAll({
      {"subject ends at the limit", filler + subject + "more", u"late", std::u16string(kUnknown)},
      {"subject beyond the limit", std::string(kHeaderReadLimit, 'x') + subject, std::u16string(kNoSubject), std::u16string(kUnknown)},
      {"subject cut by the limit", filler + "xxxx" + subject, u"la", std::u16string(kUnknown)},
  });
}

TEST(AnalyseHeader, LowercasesOnlyAsciiLettersForTheFieldSearch) {
  // U+0130 lowercases to 'i' in Unicode; the field name must not be found through it.
  const HeaderInfo info = AnalyseHeaderText(
      u"RECE\u0130VED: by b; Tue, 1 Jan 2002 10:05:03 +0900\r\nDate: Mon, 25 Dec 2000 09:00:00 +0900\r\n\r\n");
  EXPECT_EQ(info.ReceivedDate, kDec2000);
}

}  // namespace
