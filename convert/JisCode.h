#pragma once
// JIS X 0208 codes, as ISO-2022-JP and EUC-JP carry them, decoded through code page 932.

// The character of the JIS code j1 j2, found through its Shift_JIS code. Values outside 0x21..0x7E
// take the same arithmetic; when that gives no byte pair the result is U+30FB.
char16_t JisCodeToChar(int j1, int j2);
