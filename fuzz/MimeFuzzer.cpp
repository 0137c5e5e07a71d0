// Decoding of MIME encoded words in any header text.
#include <cstdint>
#include <span>

#include "convert/Decoders.h"
#include "fuzz/FuzzText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text = FuzzText(std::span(data, size));
  (void)DecodeMimeHeader(text);
  return 0;
}
