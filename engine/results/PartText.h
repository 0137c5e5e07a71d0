#pragma once
// The text of one body part: undone its transfer encoding, then its character set.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The bytes in a character set that convert/ knows, named as mail names it (any case); without a
// name, ISO-2022-JP when an escape is in them and code page 932 otherwise. nullopt for a name nobody
// knows, or bytes that its converter refuses.
std::optional<std::u16string> CharsetText(std::span<const std::uint8_t> bytes, std::string_view charset);

// A part's body as text: its Content-Transfer-Encoding (7bit, 8bit, binary, base64, quoted-printable)
// and Content-Type charset from its header. nullopt for an unknown encoding or charset, or base64 with
// characters outside its alphabet.
std::optional<std::u16string> PartText(std::string_view header, std::string_view body);

// A header value as text: its encoded words decoded, raw UTF-8 and ISO-2022-JP read; the raw text
// when a converter fails.
std::u16string HeaderText(std::string_view value);

// The message's bytes as they stand, for mail whose structure cannot be read.
std::u16string RawText(std::string_view bytes);
