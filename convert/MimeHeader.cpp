#include "convert/Decoders.h"

#include <array>
#include <utility>

namespace {

using PayloadDecoder = std::vector<std::uint8_t> (*)(std::u16string_view);
using Converter = std::optional<std::u16string> (*)(std::span<const std::uint8_t>);

struct EncodedWordKind {
  std::u16string_view opening;
  PayloadDecoder decode;
  Converter convert;
};

template <std::u16string (*convert)(std::span<const std::uint8_t>)>
std::optional<std::u16string> NeverFails(std::span<const std::uint8_t> bytes) {
  return convert(bytes);
}

// In this order: every B word is decoded before any Q word.
constexpr std::array<EncodedWordKind, 8> kEncodedWordKinds = {{
    {u"=?iso-2022-jp?b?", DecodeBase64, JisBytesToUnicode},
    {u"=?shift_jis?b?", DecodeBase64, NeverFails<SjisToUnicode>},
    {u"=?euc-jp?b?", DecodeBase64, NeverFails<EucToUnicode>},
    {u"=?utf-8?b?", DecodeBase64, NeverFails<Utf8ToUnicode>},
    {u"=?iso-2022-jp?q?", DecodeQuotedPrintable, JisBytesToUnicode},
    {u"=?shift_jis?q?", DecodeQuotedPrintable, NeverFails<SjisToUnicode>},
    {u"=?euc-jp?q?", DecodeQuotedPrintable, NeverFails<EucToUnicode>},
    {u"=?utf-8?q?", DecodeQuotedPrintable, NeverFails<Utf8ToUnicode>},
}};

// Only ASCII letters fold: a full Unicode lowercasing would let look-alikes such as U+0130 (İ) or
// U+212A (Kelvin sign) form an opening.
char16_t LowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }

bool EndsWithOpening(std::u16string_view text, std::u16string_view opening) {
  if (text.size() < opening.size()) return false;
  const auto tail = text.substr(text.size() - opening.size());
  for (std::size_t i = tail.size(); i-- > 0;) {
    if (LowerAscii(tail[i]) != opening[i]) return false;
  }
  return true;
}

// Replaces encoded words of one kind until none is left, the first one each time, and searches the
// converted text again. This equals searching the whole text anew after every replacement: the
// text before the replaced word held no opening, so the next one ends within the converted text or
// after it, and the test at each step looks back across the whole scanned text. The text still to
// scan is kept reversed, so that putting converted text in front of it costs only that text.
std::optional<std::u16string> DecodeEncodedWords(std::u16string_view text, const EncodedWordKind& kind) {
  const std::size_t openingLength = kind.opening.size();
  std::u16string scanned;
  scanned.reserve(text.size());
  std::u16string unscanned(text.rbegin(), text.rend());
  const auto terminatorIsNext = [&unscanned] {
    const std::size_t n = unscanned.size();
    return n >= 2 && unscanned[n - 1] == u'?' && unscanned[n - 2] == u'=';
  };

  while (!unscanned.empty()) {
    scanned += unscanned.back();
    unscanned.pop_back();
    if (!EndsWithOpening(scanned, kind.opening)) continue;

    scanned.resize(scanned.size() - openingLength);
    std::u16string payload;
    while (!unscanned.empty() && !terminatorIsNext()) {
      payload += unscanned.back();
      unscanned.pop_back();
    }
    if (!unscanned.empty()) unscanned.resize(unscanned.size() - 2);

    const auto converted = kind.convert(kind.decode(payload));
    if (!converted) return std::nullopt;
    unscanned.append(converted->rbegin(), converted->rend());
  }
  return scanned;
}

}  // namespace

std::optional<std::u16string> DecodeMimeHeader(std::u16string_view text) {
  std::u16string decoded(text);
  for (const auto& kind : kEncodedWordKinds) {
    auto next = DecodeEncodedWords(decoded, kind);
    if (!next) return std::nullopt;
    decoded = std::move(*next);
  }
  // Raw ISO-2022-JP written straight into the header.
  if (decoded.find(u'\x1B') != std::u16string::npos) return JisTextToUnicode(decoded);
  return decoded;
}
