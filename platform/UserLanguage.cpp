#include "platform/UserLanguage.h"

namespace platform {

bool IsJapaneseMessageLocale(std::string_view lcAll, std::string_view lcMessages, std::string_view lang) {
  for (const std::string_view value : {lcAll, lcMessages, lang}) {
    if (!value.empty()) return value.starts_with("ja");
  }
  return false;
}

}  // namespace platform
