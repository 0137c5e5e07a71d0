// The Japanese character-set converters (code page 932, ISO-2022-JP as bytes and as text, EUC-JP,
// UTF-8) over any bytes.
#include <cstdint>
#include <span>
#include <string>

#include "convert/Cp932.h"
#include "convert/Decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span bytes(data, size);
  (void)Cp932ToUnicode(bytes);
  (void)SjisToUnicode(bytes);
  (void)EucToUnicode(bytes);
  (void)Utf8ToUnicode(bytes);
  (void)JisBytesToUnicode(bytes);
  // ISO-2022-JP after it went through code page 932 as header text does, and widened byte for byte.
  (void)JisTextToUnicode(Cp932ToUnicode(bytes));
  (void)JisTextToUnicode(std::u16string(bytes.begin(), bytes.end()));
  return 0;
}
