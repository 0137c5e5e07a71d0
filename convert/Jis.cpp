#include "convert/Cp932.h"
#include "convert/Cp932Table.h"
#include "convert/Decoders.h"
#include "convert/JisCode.h"

namespace {

constexpr std::uint8_t kShiftOut = 0x0E;
constexpr std::uint8_t kShiftIn = 0x0F;
constexpr std::uint8_t kEscape = 0x1B;

enum class Mode { Ascii, Kanji, Kana };

// The mode an escape sequence ESC first second switches to; none for sequences we do not know.
std::optional<Mode> EscapeMode(std::uint8_t first, std::uint8_t second) {
  if (first == '(' && (second == 'B' || second == 'J')) return Mode::Ascii;
  if (first == '(' && second == 'I') return Mode::Kana;
  if (first == '$' && (second == '@' || second == 'B')) return Mode::Kanji;
  return std::nullopt;
}

// Raw Shift_JIS written into ISO-2022-JP text: these lead bytes start a pair in ASCII mode.
bool IsShiftJisLeadInAscii(std::uint8_t byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xEF); }

}  // namespace

std::optional<std::u16string> JisBytesToUnicode(std::span<const std::uint8_t> bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  Mode mode = Mode::Ascii;
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t byte = bytes[i];
    if (byte == kShiftOut) {
      mode = Mode::Kana;
    } else if (byte == kShiftIn) {
      mode = Mode::Ascii;
    } else if (byte == kEscape && i + 2 < n) {
      if (const auto next = EscapeMode(bytes[i + 1], bytes[i + 2])) {
        mode = *next;
        i += 2;
      }
    } else if (mode == Mode::Kanji) {
      if (i + 1 == n) {
        text += cp932::kDefaultChar;
      } else {
        text += JisCodeToChar(byte, bytes[i + 1]);
        ++i;
      }
    } else if (mode == Mode::Kana) {
      text += Cp932CodeToChar(static_cast<std::uint8_t>(byte | 0x80));
    } else if (IsShiftJisLeadInAscii(byte)) {
      if (i + 1 == n) return std::nullopt;
      text += Cp932CodeToChar(byte, bytes[i + 1]);
      ++i;
    } else {
      text += static_cast<char16_t>(byte);
    }
  }
  return text;
}

std::optional<std::u16string> JisTextToUnicode(std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size());
  for (const char16_t c : text) bytes.push_back(static_cast<std::uint8_t>(c));
  return JisBytesToUnicode(bytes);
}
