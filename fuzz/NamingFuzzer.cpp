// File names built from any subject the decoders may hand over: a name that is used stays inside the
// output folder, names no device, fits in 255 bytes and is refused only when it would not fit.
// The first byte is the clash suffix; the rest is the subject.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/naming/DecimalText.h"
#include "engine/naming/FileNaming.h"
#include "fuzz/FuzzText.h"
#include "platform/Utf.h"

namespace {

constexpr std::u16string_view kReserved(u"\\/:*?\"<>|\0", 10);

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::int32_t k = data[0];
  const std::u16string text = FileNameText(FuzzText(std::span(data + 1, size - 1)));
  Check(!text.empty() && text.find_first_of(kReserved) == std::u16string::npos);
  if (IsRefusedNameText(text)) return 0;

  const std::u16string candidate = text + (k > 0 ? u"(" + DecimalText(k) + u")" : u"") + u".eml";
  const std::optional<std::u16string> name = SuffixedFileName(text, k);
  Check(name.has_value() == (platform::ToUtf8(candidate).size() <= 255));
  if (!name) return 0;
  Check(*name == candidate && !IsRefusedNameText(*name));
  return 0;
}
