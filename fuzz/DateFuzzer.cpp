// Mail date parsing of any Date or Received value.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "fuzz/FuzzText.h"
#include "mailinfo/MailInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (ParseMailDate(FuzzText(std::span(data, size))).empty()) std::abort();
  return 0;
}
