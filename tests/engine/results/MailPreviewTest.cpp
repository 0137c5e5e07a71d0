// The preview pane's text for a row of the run's list: decoded headers, the body as text, attachments
// named, broken structure shown raw, and what is left of a message that is not there.
#include "engine/results/MailPreview.h"

#include <gtest/gtest.h>

#include "platform/Utf.h"
#include "tests/support/ScratchFolder.h"

namespace {

constexpr std::string_view kHeader = "From: =?ISO-2022-JP?B?GyRCJDMkcyRLJEEkTxsoQg==?= <k@x>\r\nTo: a@x\r\n"
                                     "Date: Thu, 1 May 2003 09:08:07 +0900\r\nSubject: Hi\r\n";

std::string Message(std::string_view fields, std::string_view body) {
  return std::string(kHeader) + std::string(fields) + "\r\n" + std::string(body);
}

const std::string kMultipart = "Content-Type: multipart/mixed; boundary=\"b1\"\r\n";

TEST(MailPreview, ShowsTheMessageAsTextAndBrokenMailRaw) {
  struct Case {
    const char* name;
    std::string message;
    std::u16string_view shown;  // the whole text, or a part of it
  };
  const std::vector<Case> cases{
      {"ISO-2022-JP", Message("Content-Type: text/plain; charset=iso-2022-jp\r\n", "\x1B$B$3$s$K$A$O\x1B(B\r\n"),
       u"差出人: こんにちは <k@x>\r\n宛先: a@x\r\n日付: Thu, 1 May 2003 09:08:07 +0900\r\n件名: Hi\r\n\r\nこんにちは\r\n"},
      {"Shift_JIS", Message("Content-Type: text/plain; charset=Shift_JIS\r\n", "\x93\xFA\x96{\x8C\xEA\x82\xCC\x96{\x95\xB6"),
       u"\r\n日本語の本文"},
      {"quoted-printable UTF-8",
       Message("Content-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: quoted-printable\r\n",
               "=E3=83=86=E3=82=B9=E3=83=88 =\r\nok"),
       u"\r\nテスト ok"},
      {"HTML only", Message("Content-Type: text/html\r\n",
                            "<html><head><title>t</title></head><body>\r\n<p>A &amp; B</p>x&lt;y&#x41;<br>z</body></html>"),
       u"\r\nA & B\r\nx<yA\r\nz"},
      {"with an attachment",
       Message(kMultipart, "--b1\r\nContent-Type: text/plain; charset=euc-jp\r\n\r\n\xC5\xEC\xB5\xFE\r\n--b1\r\n"
                           "Content-Type: application/pdf\r\nContent-Disposition: attachment; "
                           "filename=\"=?UTF-8?B?6KaL56mNLnBkZg==?=\"\r\nContent-Transfer-Encoding: base64\r\n\r\n"
                           "JVBERi0=\r\n--b1--\r\n"),
       u"件名: Hi\r\n添付ファイル: 見積.pdf\r\n\r\n東京"},
      {"never closed", Message(kMultipart, "--b1\r\n\r\nplain\r\n"), u"\r\n--b1\r\n\r\nplain\r\n"},
      {"no boundary", Message("Content-Type: multipart/mixed\r\n", "--b1\r\n\r\nplain"), u"\r\n--b1\r\n\r\nplain"},
      {"bad base64", Message("Content-Transfer-Encoding: base64\r\n", "@@@@"), u"base64\r\n\r\n@@@@"},
      {"unknown charset", Message("Content-Type: text/plain; charset=x-klingon\r\n", "qapla'"), u"klingon\r\n\r\nqapla'"},
      {"no empty line", std::string(kHeader), u"件名: Hi\r\n\r\nFrom: =?ISO-2022-JP?B?"},
  };
  testsupport::ScratchFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    folder.WriteFile(u"m.eml", c.message);
    const RunListRow row{.path = u"m.eml", .bytes = static_cast<std::int64_t>(c.message.size())};
    const std::u16string text = PreviewText(folder.Path().u16string(), row, Language::Japanese);
    EXPECT_NE(text.find(c.shown), std::u16string::npos) << platform::ToUtf8(text);
  }
}

TEST(MailPreview, ShowsWhatTheListHeldOfAMessageThatIsNotThere) {
  const RunListRow missing{.state = RunListState::Missing, .date = MailDate{2004, 1, 2, 3, 4, 5}, .sender = u"次郎", .subject = u"見積"};
  EXPECT_EQ(PreviewText(u"/nowhere", missing, Language::English),
            u"From: 次郎\r\nTo: \r\nDate: 2004/01/02 03:04:05\r\nSubject: 見積\r\n\r\n"
            u"This message was not found; this is what the store's list held.");
  RunListRow moved = missing;
  moved.state = RunListState::Deleted;
  moved.path = u"gone.eml";
  EXPECT_TRUE(PreviewText(u"/nowhere", moved, Language::Japanese).ends_with(u"\r\n\r\nファイルがありません"));
}

}  // namespace
