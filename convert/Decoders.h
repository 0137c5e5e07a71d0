#pragma once
// Text decoding for mail headers: Base64, quoted-printable, MIME encoded words and the Japanese
// character sets. Pure functions over bytes and UTF-16 text.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The payload decoders never reject their text; malformed text yields bytes by these rules.
//
// DecodeBase64: every character takes its place in a group of four, whether it belongs to the
// alphabet or not; "=", blanks, line breaks and every other character outside A-Z a-z 0-9 + / count
// as 0, so a stray character shifts nothing after it. Each complete group gives three bytes;
// characters after the last complete group give none. The result has L × 3 / 4 bytes (L the text's
// length, halves to the even neighbour), less 2 after a closing "==" or 1 after a closing "=":
// surplus decoded bytes are cut off, missing ones are zero.
std::vector<std::uint8_t> DecodeBase64(std::u16string_view text);
// DecodeQuotedPrintable: "=" followed by at least two characters is an escape and takes all three:
// "=" CR LF gives nothing (a soft line break); otherwise the two characters are read as hexadecimal
// digits (either case) up to the first other character, blanks, TABs and LFs passed over, so "=4G"
// gives 0x04 and "=G4" gives 0x00. Every other character, an "=" among the last two included, gives
// one byte: the low byte of its code unit, so code units above 0xFF are cut to their low byte. "_" is
// kept as the byte 0x5F: Q words are decoded without turning it into a space.
std::vector<std::uint8_t> DecodeQuotedPrintable(std::u16string_view text);

// The ISO-2022-JP converters fail (nullopt) when, in ASCII mode, a Shift_JIS lead byte is the last byte.
std::optional<std::u16string> JisBytesToUnicode(std::span<const std::uint8_t> bytes);
std::optional<std::u16string> JisTextToUnicode(std::u16string_view text);
std::u16string SjisToUnicode(std::span<const std::uint8_t> bytes);
std::u16string EucToUnicode(std::span<const std::uint8_t> bytes);
std::u16string Utf8ToUnicode(std::span<const std::uint8_t> bytes);

// Decodes the encoded words of a header value; nullopt when a converter failed.
std::optional<std::u16string> DecodeMimeHeader(std::u16string_view text);
