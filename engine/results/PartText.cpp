#include "engine/results/PartText.h"

#include <algorithm>
#include <array>

#include "convert/Cp932.h"
#include "convert/Decoders.h"
#include "engine/results/MimeEntity.h"
#include "platform/Utf.h"

namespace {

std::span<const std::uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Each byte as one code unit, as the payload decoders take their text.
std::u16string Widened(std::string_view text) { return std::u16string(text.begin(), text.end()); }

std::u16string Latin1(std::span<const std::uint8_t> bytes) { return std::u16string(bytes.begin(), bytes.end()); }

bool HasEscape(std::span<const std::uint8_t> bytes) { return std::ranges::find(bytes, 0x1B) != bytes.end(); }

std::u16string Unmarked(std::span<const std::uint8_t> bytes) {
  if (HasEscape(bytes)) {
    if (auto text = JisBytesToUnicode(bytes)) return std::move(*text);
  }
  return Cp932ToUnicode(bytes);
}

bool IsBase64Text(std::string_view text) {
  return std::ranges::all_of(text, [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/' ||
           c == '=' || c == '\r' || c == '\n' || c == ' ' || c == '\t';
  });
}

using Converter = std::optional<std::u16string> (*)(std::span<const std::uint8_t>);

template <std::u16string (*convert)(std::span<const std::uint8_t>)>
std::optional<std::u16string> Always(std::span<const std::uint8_t> bytes) {
  return convert(bytes);
}

struct CharsetName {
  std::string_view name;
  Converter convert;
};

constexpr std::array<CharsetName, 17> kCharsets = {{
    {"iso-2022-jp", JisBytesToUnicode},          {"csiso2022jp", JisBytesToUnicode},
    {"shift_jis", Always<SjisToUnicode>},        {"shift-jis", Always<SjisToUnicode>},
    {"sjis", Always<SjisToUnicode>},             {"x-sjis", Always<SjisToUnicode>},
    {"windows-31j", Always<SjisToUnicode>},      {"cp932", Always<SjisToUnicode>},
    {"euc-jp", Always<EucToUnicode>},            {"x-euc-jp", Always<EucToUnicode>},
    {"utf-8", Always<Utf8ToUnicode>},            {"utf8", Always<Utf8ToUnicode>},
    {"us-ascii", Always<Unmarked>},              {"ascii", Always<Unmarked>},
    {"iso-8859-1", Always<Latin1>},              {"latin1", Always<Latin1>},
    {"", Always<Unmarked>},
}};

}  // namespace

std::optional<std::u16string> CharsetText(std::span<const std::uint8_t> bytes, std::string_view charset) {
  const std::string name = AsciiLowered(charset);
  for (const CharsetName& known : kCharsets) {
    if (known.name == name) return known.convert(bytes);
  }
  return std::nullopt;
}

std::optional<std::u16string> PartText(std::string_view header, std::string_view body) {
  const std::string encoding = AsciiLowered(FieldValue(header, "content-transfer-encoding").value_or(""));
  const std::string charset = Parameter(FieldValue(header, "content-type").value_or(""), "charset").value_or("");
  if (encoding == "base64") {
    if (!IsBase64Text(body)) return std::nullopt;
    return CharsetText(DecodeBase64(Widened(body)), charset);
  }
  if (encoding == "quoted-printable") return CharsetText(DecodeQuotedPrintable(Widened(body)), charset);
  if (encoding.empty() || encoding == "7bit" || encoding == "8bit" || encoding == "binary")
    return CharsetText(Bytes(body), charset);
  return std::nullopt;
}

std::u16string HeaderText(std::string_view value) {
  const std::u16string utf8 = platform::FromUtf8(value);
  // Header bytes are code page 932 unless they are valid UTF-8, as modern mail writes them raw.
  const std::u16string text = platform::ToUtf8(utf8) == value ? utf8 : Cp932ToUnicode(Bytes(value));
  return DecodeMimeHeader(text).value_or(text);
}

std::u16string RawText(std::string_view bytes) { return Unmarked(Bytes(bytes)); }
