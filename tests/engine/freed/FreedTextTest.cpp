// The text of a freed message from its blocks' data: lost bytes, lookalikes and the message's end.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/freed/FreedText.h"

namespace {

using Data = std::array<std::uint8_t, kFreedDataBytes>;

// A block's data area as freeing leaves it: a link word, then text from data byte 4 on.
Data Block(std::string_view text) {
  Data data{0x10, 0x22, 0x00, 0x00};
  std::copy_n(text.begin(), std::min(text.size(), data.size() - kLostBytes), data.begin() + kLostBytes);
  return data;
}

std::string Rebuilt(const std::vector<std::string>& blocks) {
  FreedText text;
  for (const std::string& block : blocks) text.AddBlock(Block(block));
  text.Finish();
  return std::string(text.Bytes().begin(), text.Bytes().end());
}

TEST(FreedText, LookalikesAreBlocksOfIndexData) {
  struct Case {
    std::string text;
    bool lookalike;
  };
  const Case cases[] = {{": a@b\r\nSubject: x\r\n", false},
                        {std::string("\x1B$B\x24\x22\x1B(B\tx") + std::string(20, '\0'), false},
                        {"", true},
                        {std::string("ab\0cd", 5), true},
                        {"ab\x01", true},
                        {"ab\x7F", true}};
  for (const Case& c : cases) EXPECT_EQ(IsLookalike(Block(c.text)), c.lookalike) << c.text;
}

TEST(FreedText, FirstBlocksBeginWithTheRestOfAHeaderField) {
  struct Case {
    std::string text;
    bool begins;
  };
  const Case cases[] = {{": a@b\r\n", true},          {"ived: from x\r\n", true}, {"rn-Path: <a@b>\r\n", true},
                        {"b@x\r\nSubject: y", false}, {"line of text: x", false}, {"\x82\xA0: x", false}};
  for (const Case& c : cases) EXPECT_EQ(BeginsHeader(Block(c.text)), c.begins) << c.text;
}

// A first block whose text ends at a column of a base64 body of 60-character lines; column 61 ends
// between the line's CR and LF.
std::string Base64LinesUpTo(std::size_t column) {
  const std::string line = std::string(60, 'Q') + "\r\n";
  std::string text;
  for (int i = 0; i < 7; ++i) text += line;
  text += line.substr(0, column);
  return std::string(508 - text.size() - 2, 'y') + "\r\n" + text;
}

TEST(FreedText, LostBytesInRegularBase64TakeTheLineEndsTheLineLengthGives) {
  struct Case {
    std::size_t column;
    std::string after;  // the second block's text
    std::string fill;
  };
  const Case cases[] = {{0, std::string(56, 'Q') + "\r\n", "AAAA"},
                        {58, std::string(60, 'Q') + "\r\n", "AA\r\n"},
                        {61, std::string(57, 'Q') + "\r\n", "\nAAA"},
                        {0, "Qg==\r\n--b--\r\n", "AAAA"},              // the body's last, shorter line
                        {0, "_b--\r\n", "????"},                       // the body ended: a delimiter line began
                        {10, std::string(60, 'Q') + "\r\n", "????"}};  // a line longer than the others
  for (const Case& c : cases) {
    const std::string text = Rebuilt({Base64LinesUpTo(c.column), c.after});
    EXPECT_EQ(text.substr(512, 4), c.fill) << c.column << " " << c.after;
  }
}

TEST(FreedText, MultipartMessageEndsAfterItsClosingDelimiterLine) {
  const std::string header = ": a\r\nContent-Type: multipart/mixed;\r\n\tboundary=\"=_b\"\r\n\r\n";
  const std::string body = "--=_b\r\n\r\nx\r\n--=_b--\r\n";
  const std::string older = "--=_b--\r\nolder text of another message";
  EXPECT_EQ(Rebuilt({header + body + older}), "????" + header + body);
  // Older text after a single-part message cannot be told from the message.
  EXPECT_EQ(Rebuilt({": a\r\n\r\nx\r\n" + older}), "????: a\r\n\r\nx\r\n" + older);
}

}  // namespace
