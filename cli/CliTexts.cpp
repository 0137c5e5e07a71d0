#include "cli/CliTexts.h"

#include "platform/Utf.h"
#include "platform/UserLanguage.h"

namespace cli {

std::span<const CliTextEntry> AllCliTexts() { return kCliTextTable; }

std::u16string CliText(CliTextId id, Language language, std::initializer_list<std::u16string_view> args) {
  const CliTextEntry& entry = kCliTextTable[static_cast<std::size_t>(id)];
  return FillIn(language == Language::English ? entry.english : entry.japanese, args);
}

std::string CliTextUtf8(CliTextId id, Language language, std::initializer_list<std::u16string_view> args) {
  return platform::ToUtf8(CliText(id, language, args));
}

Language UserLanguage() { return platform::UserReadsJapanese() ? Language::Japanese : Language::English; }

}  // namespace cli
