#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>

#include "mailinfo/MailInfo.h"
#include "tests/support/ScratchFolder.h"

namespace {

TEST(AnalyseHeaderFile, MarksAFileThatCannotBeRead) {
  const testsupport::ScratchFolder folder;
  for (const auto& path : {folder.PathOf(u"missing.eml"), folder.PathOf(u"")}) {
    const HeaderInfo info = AnalyseHeaderFile(path);
    EXPECT_EQ(info.Subject, u"[不明]");
    EXPECT_EQ(info.ReceivedDate, u"[不明]");
  }
}

TEST(AnalyseHeaderFile, ReadsTheStartOfTheFile) {
  const testsupport::ScratchFolder folder;
  const std::string header = "Subject: Hello\r\nDate: Tue, 1 Jan 2002 10:05:03 +0900\r\n";
  const struct {
    std::u16string name;
    std::string bytes;
    std::u16string subject;
    std::u16string receivedDate;
  } cases[] = {
      {u"empty.eml", "", u"(件名なし)", u"(不明)"},
      {u"short.eml", header + "\r\nbody\r\n", u"Hello", u"2002/01/01 10:05:03"},
      {u"large.eml", header + "\r\n" + std::string(3 * kHeaderReadLimit, 'b'), u"Hello", u"2002/01/01 10:05:03"},
      {u"late.eml", std::string(kHeaderReadLimit, 'x') + header, u"(件名なし)", u"(不明)"},
      // Long header parts: the subject lies beyond the first few KiB, or right after them with a
      // lead byte before it that takes the next byte as its trail byte.
      {u"long.eml", "X-Pad: " + std::string(9000, 'p') + "\r\n" + header + "\r\nbody", u"Hello", u"2002/01/01 10:05:03"},
      {u"lead.eml", "X-Pad: " + std::string(8184, 'p') + "\x82\r\n\r\n" + header + "\r\n", u"Hello",
       u"2002/01/01 10:05:03"},
      {u"blank.eml", "X-Pad: " + std::string(8183, 'p') + "\r\n\r\n" + header + "\r\n", u"(件名なし)", u"(不明)"},
  };
  for (const auto& c : cases) {
    const HeaderInfo info = AnalyseHeaderFile(folder.WriteFile(c.name, c.bytes));
    EXPECT_EQ(info.Subject, c.subject) << std::string(c.name.begin(), c.name.end());
    EXPECT_EQ(info.ReceivedDate, c.receivedDate);
  }
}

}  // namespace

namespace {

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A piece that holds the whole header part gives what the whole message gives; one that does not
// gives nothing, however much of the header it holds.
TEST(AnalyseHeaderPiece, AnswersOnlyWhenTheHeaderPartEndsInThePiece) {
  const std::string header = "Subject: =?ISO-2022-JP?B?GyRCJCIbKEI=?=\r\nDate: Tue, 1 Jan 2002 10:05:03 +0900\r\n";
  const struct {
    std::string message;
    std::size_t piece;
    bool answers;
  } cases[] = {
      {header + "\r\nbody\r\n\r\nmore", 200, true},
      {header + "\r\n", 200, true},
      {header + "\r\nbody", header.size() + 2, true},
      {header + "\r\nbody", header.size() + 1, false},
      {header, 200, false},
      {"\x82\r\n\r\n" + header + "\r\n", 400, true},
      {std::string(300, 'b'), 200, false},
  };
  for (const auto& c : cases) {
    const auto bytes = Bytes(c.message);
    const auto info = AnalyseHeaderPiece(bytes.first(std::min(c.piece, bytes.size())));
    ASSERT_EQ(info.has_value(), c.answers) << c.message;
    if (!info) continue;
    const HeaderInfo whole = AnalyseHeaderBytes(bytes);
    EXPECT_EQ(info->Subject, whole.Subject);
    EXPECT_EQ(info->ReceivedDate, whole.ReceivedDate);
  }
}

}  // namespace
