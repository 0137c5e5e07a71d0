#pragma once
// Header text for the text fuzzers. The first byte chooses how the rest becomes text: even, as code
// page 932 bytes (the way header bytes reach the decoders); odd, as UTF-16LE code units, so that any
// unit, lone surrogates included, can reach them.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "convert/Cp932.h"

inline std::u16string FuzzText(std::span<const std::uint8_t> input) {
  if (input.empty()) return {};
  const auto rest = input.subspan(1);
  if (input[0] % 2 == 0) return Cp932ToUnicode(rest);
  std::u16string text;
  for (std::size_t i = 0; i + 1 < rest.size(); i += 2)
    text += static_cast<char16_t>(rest[i] | rest[i + 1] << 8);
  return text;
}
