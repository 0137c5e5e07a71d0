#include "platform/Utf.h"

#include <cstdint>
#include <optional>

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Writes c's UTF-8 bytes at out; returns the place past them.
char* PutCharacter(char* out, char32_t c) {
  if (c < 0x80) {
    *out++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *out++ = static_cast<char>(0xC0 | (c >> 6));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (c >> 12));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (c >> 18));
    *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
}

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The bytes of a path that are not UTF-8 stand as U+DC80..U+DCFF; an ASCII byte is always valid.
constexpr char32_t kEscapedByteBase = 0xDC00;
bool IsEscapedByte(char32_t c) { return c >= kEscapedByteBase + 0x80 && c <= kEscapedByteBase + 0xFF; }

// One UTF-8 sequence at text[i]: its character, or nullopt when it is invalid, and the bytes it spans
// (up to the first that breaks it).
struct Sequence {
  std::optional<char32_t> character;
  std::size_t length = 1;
};

Sequence DecodeSequence(std::string_view text, std::size_t i) {
  const auto lead = static_cast<std::uint8_t>(text[i]);
  if (lead < 0x80) return {lead, 1};
  int extra = 0;
  char32_t c = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, c = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, c = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, c = lead & 0x07, minimum = 0x10000;
  } else {
    return {std::nullopt, 1};
  }
  std::size_t taken = 1;
  for (int k = 0; k < extra; ++k) {
    if (i + taken >= text.size() || (static_cast<std::uint8_t>(text[i + taken]) & 0xC0) != 0x80) {
      return {std::nullopt, taken};
    }
    c = (c << 6) | (static_cast<std::uint8_t>(text[i + taken]) & 0x3F);
    ++taken;
  }
  if (c < minimum || c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) return {std::nullopt, taken};
  return {c, taken};
}

// Pairs become one character; an unpaired surrogate is written as unpaired(c) says: a byte of its own
// (0 to 255), or U+FFFD for -1. Written in place, byte by byte appends costing most of a long list.
template <typename Unpaired>
void EncodeUtf8(std::string& out, std::u16string_view text, Unpaired unpaired) {
  const std::size_t start = out.size();
  // A unit takes three bytes at the most, and a pair four.
  out.resize(start + 3 * text.size());
  char* put = out.data() + start;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      put = PutCharacter(put, 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      const int byte = unpaired(c);
      put = byte < 0 ? PutCharacter(put, kReplacement) : (*put = static_cast<char>(byte), put + 1);
    } else {
      put = PutCharacter(put, c);
    }
  }
  out.resize(static_cast<std::size_t>(put - out.data()));
}

template <typename Unpaired>
std::string EncodedUtf8(std::u16string_view text, Unpaired unpaired) {
  std::string out;
  EncodeUtf8(out, text, unpaired);
  return out;
}

int Replaced(char32_t) { return -1; }

}  // namespace

std::string ToUtf8(std::u16string_view text) { return EncodedUtf8(text, Replaced); }

void AppendUtf8(std::string& out, std::u16string_view text) { EncodeUtf8(out, text, Replaced); }

std::u16string FromUtf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Sequence sequence = DecodeSequence(text, i);
    AppendUtf16(out, sequence.character.value_or(kReplacement));
    i += sequence.length;
  }
  return out;
}

std::string ToPathBytes(std::u16string_view path) {
  return EncodedUtf8(path, [](char32_t c) { return IsEscapedByte(c) ? static_cast<int>(c - kEscapedByteBase) : -1; });
}

std::u16string FromPathBytes(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const Sequence sequence = DecodeSequence(bytes, i);
    if (sequence.character) {
      AppendUtf16(out, *sequence.character);
      i += sequence.length;
    } else {
      // Only the first byte is escaped: the next one may well begin a valid sequence.
      out += static_cast<char16_t>(kEscapedByteBase + static_cast<std::uint8_t>(bytes[i]));
      ++i;
    }
  }
  return out;
}

}  // namespace platform
