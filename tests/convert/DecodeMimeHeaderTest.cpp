#include "convert/Decoders.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using ByteView = std::span<const std::uint8_t>;

// The plain procedure: after every replacement the search starts again at the beginning.
std::optional<std::u16string> ReferenceDecodeMimeHeader(std::u16string text) {
  struct Kind {
    std::u16string_view opening;
    bool base64;
    std::optional<std::u16string> (*convert)(ByteView);
  };
  const Kind kinds[] = {
      {u"=?iso-2022-jp?b?", true, JisBytesToUnicode},
      {u"=?shift_jis?b?", true, [](ByteView b) { return std::optional(SjisToUnicode(b)); }},
      {u"=?euc-jp?b?", true, [](ByteView b) { return std::optional(EucToUnicode(b)); }},
      {u"=?utf-8?b?", true, [](ByteView b) { return std::optional(Utf8ToUnicode(b)); }},
      {u"=?iso-2022-jp?q?", false, JisBytesToUnicode},
      {u"=?shift_jis?q?", false, [](ByteView b) { return std::optional(SjisToUnicode(b)); }},
      {u"=?euc-jp?q?", false, [](ByteView b) { return std::optional(EucToUnicode(b)); }},
      {u"=?utf-8?q?", false, [](ByteView b) { return std::optional(Utf8ToUnicode(b)); }},
  };
  for (const auto& kind : kinds) {
    for (;;) {
      std::u16string lowered = text;
      for (auto& c : lowered) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
      }
      const auto start = lowered.find(kind.opening);
      if (start == std::u16string::npos) break;
      const auto payloadStart = start + kind.opening.size();
      const auto end = text.find(u"?=", payloadStart);
      const auto payload = text.substr(payloadStart, end == std::u16string::npos ? end : end - payloadStart);
      const auto converted = kind.convert(kind.base64 ? DecodeBase64(payload) : DecodeQuotedPrintable(payload));
      if (!converted) return std::nullopt;
      text = text.substr(0, start) + *converted + (end == std::u16string::npos ? u"" : text.substr(end + 2));
    }
  }
  if (text.find(u'\x1B') != std::u16string::npos) return JisTextToUnicode(text);
  return text;
}

struct Case {
  std::u16string header;
  std::optional<std::u16string> text;
};

std::string Printable(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      out += "\\u" + std::to_string(static_cast<unsigned>(c));
    }
  }
  return out;
}

void ExpectDecodes(const Case& c) { EXPECT_EQ(DecodeMimeHeader(c.header), c.text) << Printable(c.header); }

constexpr char16_t kMeetingTomorrow[] = u"会議の件：明日１０時";

TEST(DecodeMimeHeader, DecodesOneJapaneseTextInEveryCharsetAndEncoding) {
  const Case cases[] = {
      {u"=?iso-2022-jp?b?GyRCMnE1RCRON28hJ0xARnwjMSMwO34bKEI=?=", kMeetingTomorrow},
      {u"=?shift_jis?b?ie+LY4LMjI+BRpa+k/qCUIJPjp4=?=", kMeetingTomorrow},
      {u"=?euc-jp?b?svG1xKTOt++hp8zAxvyjsaOwu/4=?=", kMeetingTomorrow},
      {u"=?utf-8?b?5Lya6K2w44Gu5Lu277ya5piO5pel77yR77yQ5pmC?=", kMeetingTomorrow},
      {u"=?iso-2022-jp?q?=1B$B2q5D$N7o!'L@F|#1#0;~=1B(B?=", kMeetingTomorrow},
      {u"=?shift_jis?q?=89=EF=8Bc=82=CC=8C=8F=81F=96=BE=93=FA=82P=82O=8E=9E?=", kMeetingTomorrow},
      {u"=?euc-jp?q?=B2=F1=B5=C4=A4=CE=B7=EF=A1=A7=CC=C0=C6=FC=A3=B1=A3=B0=BB=FE?=", kMeetingTomorrow},
      {u"=?utf-8?q?=E4=BC=9A=E8=AD=B0=E3=81=AE=E4=BB=B6=EF=BC=9A=E6=98=8E=E6=97=A5=EF=BC=91=EF=BC=90=E6=99=82?=",
       kMeetingTomorrow},
      {u"\x1B$B2q5D$N7o!'L@F|#1#0;~\x1B(B", kMeetingTomorrow},
  };
  for (const auto& c : cases) ExpectDecodes(c);
}

TEST(DecodeMimeHeader, ReplacesEncodedWordsWhereverTheyStand) {
  const Case cases[] = {
      {u"", u""},
      {u"Meeting tomorrow", u"Meeting tomorrow"},
      {u"Re: =?iso-2022-jp?b?GyRCJCIbKEI=?= (2)", u"Re: あ (2)"},
      {u"=?utf-8?b?44GC?= =?utf-8?b?44GE?=", u"あ い"},
      {u"=?utf-8?b?44GC?==?utf-8?b?44GE?=", u"あい"},
      {u"x=?utf-8?b?44GC?=y", u"xあy"},
      {u"=?ISO-2022-JP?B?GyRCJCIbKEI=?=", u"あ"},
      {u"=?Utf-8?Q?=E3=81=82?=", u"あ"},
      {u"=?utf-8?b?QUJD?= =?utf-8?B?YWJj?=", u"ABC abc"},
      {u"=?utf-8?q?a_b?=", u"a_b"},
      {u"=?iso-2022-jp?b?GyRCJCI=?==?iso-2022-jp?b?QUI=?=", u"あAB"},
  };
  for (const auto& c : cases) ExpectDecodes(c);
}

TEST(DecodeMimeHeader, KeepsUnknownCharsetsVerbatim) {
  const std::u16string headers[] = {
      u"=?iso-8859-1?q?caf=E9?=",
      u"=?us-ascii?b?QUJD?=",
      u"=?shift-jis?b?gqA=?=",
      u"=?iso-2022-jp-2?b?GyRCJCIbKEI=?=",
      u"=?iso-2022-jp*ja?b?GyRCJCIbKEI=?=",
      u"=?utf-8?x?QUJD?=",
      u"=?\u0130SO-2022-JP?B?GyRCJCIbKEI=?=",
      u"=?SH\u0130FT_JIS?B?gqA=?=",
  };
  for (const auto& header : headers) ExpectDecodes({header, header});
}

TEST(DecodeMimeHeader, HandlesMalformedEncodedWords) {
  const Case cases[] = {
      {u"x =?utf-8?b?QUJD", u"x ABC"},
      {u"=?utf-8?q?abc def", u"abc def"},
      {u"=?utf-8?b?QUJD?", std::u16string(u"ABC\0", 4)},
      {u"a=?iso-2022-jp?b?\?=b", u"ab"},
      {u"a=?shift_jis?b?\?=b", u"ab"},
      {u"a=?euc-jp?b?\?=b", u"ab"},
      {u"a=?utf-8?b?\?=b", u"ab"},
      {u"a=?iso-2022-jp?q?\?=b", u"ab"},
      {u"a=?shift_jis?q?\?=b", u"ab"},
      {u"a=?euc-jp?q?\?=b", u"ab"},
      {u"a=?utf-8?q?\?=b", u"ab"},
      {u"=?utf-8?b?Q U JD?=", std::u16string(u"@\x05\0\0", 4)},
  };
  for (const auto& c : cases) ExpectDecodes(c);
}

TEST(DecodeMimeHeader, DecodesBWordsBeforeQWordsAndScansDecodedTextAgain) {
  const Case cases[] = {
      {u"=?shift_jis?b?gqA=?= =?iso-2022-jp?q?=1B$B$$=1B(B?=", u"あ い"},
      {u"=?iso-2022-jp?q?=1B$B$$=1B(B?= =?shift_jis?b?gqA=?=", u"い あ"},
      {u"=?utf-8?b?PT91dGYtOD9xPz00MT89?=", u"A"},
      {u"=?utf-8?b?PT91dGYtOD9iP1FRPT0/PQ==?=", u"A"},
      {u"=?utf-8?q?=3D=3Futf-8=3Fb=3FQQ=3D=3D?=", u"=?utf-8?b?QQ=="},
      {u"=?utf-8=?utf-8?q?=3Fq=3F?==41?=", u"A"},
      {u"=?utf-8?q?=3D?=?utf-8?q?=41?=", u"A"},
  };
  for (const auto& c : cases) ExpectDecodes(c);
}

TEST(DecodeMimeHeader, PassesOnTheFailureOfTheIsoConverter) {
  const Case cases[] = {
      {u"Re: =?iso-2022-jp?b?QYI=?=", std::nullopt},
      {u"=?iso-2022-jp?q?A=82?=", std::nullopt},
      {u"\x1B$B$\"\x1B(B\u0082", std::nullopt},
      {u"=?shift_jis?b?QYI=?=", u"A\u30FB"},
      {u"=?utf-8?b?QYI=?=", u"A\x1FFF"},
  };
  for (const auto& c : cases) ExpectDecodes(c);
}

TEST(DecodeMimeHeader, GivesWhatSearchingFromTheStartAfterEveryReplacementGives) {
  const std::u16string pieces[] = {
      u"=?utf-8?q?", u"=?UTF-8?B?", u"=?iso-2022-jp?b?", u"=?iso-2022-jp?q?", u"=?shift_jis?b?", u"=?euc-jp?q?",
      u"=?",         u"utf-8",      u"?q?",              u"?b?",              u"?=",               u"=3D",
      u"=3F",        u"=3Fq=3F",    u"=3D=3Futf-8",      u"QQ==",             u"44GC",             u"gqA=",
      u"PT91dGYtOD9xPz00MT89",      u"x",                u" ",                u"=",                u"?",
      u"\x1B$B$\"", u"=1B(B",
  };
  std::mt19937 random(20240521);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> length(1, 16);
  for (int round = 0; round < 3000; ++round) {
    std::u16string header;
    for (int n = length(random); n > 0; --n) header += pieces[pick(random)];
    ASSERT_EQ(DecodeMimeHeader(header), ReferenceDecodeMimeHeader(header)) << Printable(header);
  }
}

}  // namespace
