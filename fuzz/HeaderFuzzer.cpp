// Header analysis over the first bytes of any message.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "mailinfo/MailInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const HeaderInfo info = AnalyseHeaderBytes(std::span(data, size));
  // The date is always a value or a marker; the subject may be empty (the rename pass names that).
  if (info.ReceivedDate.empty()) std::abort();
  return 0;
}
