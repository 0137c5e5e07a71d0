#pragma once
// Text decoding for mail headers: Base64, quoted-printable, MIME encoded words and the Japanese
// character sets. Pure functions over bytes and UTF-16 text.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

Bytes DecodeBase64(std::u16string_view text);
Bytes DecodeQuotedPrintable(std::u16string_view text);

// The ISO-2022-JP converters fail (nullopt) when, in ASCII mode, a Shift_JIS lead byte is the last byte.
std::optional<std::u16string> JisBytesToUnicode(ByteView bytes);
std::optional<std::u16string> JisTextToUnicode(std::u16string_view text);
std::u16string SjisToUnicode(ByteView bytes);
std::u16string EucToUnicode(ByteView bytes);
std::u16string Utf8ToUnicode(ByteView bytes);

// Decodes the encoded words of a header value; nullopt when a converter failed.
std::optional<std::u16string> DecodeMimeHeader(std::u16string_view text);
