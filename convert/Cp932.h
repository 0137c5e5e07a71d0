#pragma once
// Code page 932 (Shift_JIS with the Microsoft and NEC/IBM extensions), from our own table, so that
// every platform decodes alike. Invalid input decodes as Windows decodes it.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Whole byte sequence to text.
std::u16string Cp932ToUnicode(std::span<const std::uint8_t> bytes);
// The text up to and including the first place where it reads mark; all of it when it never does.
// The characters are those Cp932ToUnicode gives, so a reader that stops at the mark sees no difference.
std::u16string Cp932ToUnicodeThrough(std::span<const std::uint8_t> bytes, std::u16string_view mark);

// One code (a single byte, or lead and trail byte) to one character: the first code unit of its text.
char16_t Cp932CodeToChar(std::uint8_t single);
char16_t Cp932CodeToChar(std::uint8_t lead, std::uint8_t trail);
