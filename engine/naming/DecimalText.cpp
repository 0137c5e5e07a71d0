#include "engine/naming/DecimalText.h"

std::u16string DecimalText(std::int64_t value) {
  std::u16string text;
  for (const char c : std::to_string(value)) text += static_cast<char16_t>(c);
  return text;
}
