// The preview of a message: MIME structure, transfer encodings, character sets and HTML of any bytes.
#include <cstdint>
#include <span>

#include "engine/results/MailPreview.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte says whether the bytes stop at the read limit rather than at the message's end.
  if (size == 0) return 0;
  (void)PreviewOfMessage(std::span(data + 1, size - 1), data[0] % 2 == 1);
  return 0;
}
