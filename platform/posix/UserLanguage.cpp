#include "platform/UserLanguage.h"

#include <cstdlib>

namespace platform {
namespace {

std::string_view Variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

bool UserReadsJapanese() {
  return IsJapaneseMessageLocale(Variable("LC_ALL"), Variable("LC_MESSAGES"), Variable("LANG"));
}

}  // namespace platform
