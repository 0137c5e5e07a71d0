#include "engine/Texts.h"

std::span<const TextEntry> AllTexts() { return kTextTable; }

std::u16string FillIn(std::u16string_view pattern, std::initializer_list<std::u16string_view> args) {
  std::u16string text;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char16_t digit = i + 1 < pattern.size() ? pattern[i + 1] : u'\0';
    if (pattern[i] == u'%' && digit >= u'1' && digit <= u'9' && static_cast<std::size_t>(digit - u'1') < args.size()) {
      text += *(args.begin() + (digit - u'1'));
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

std::u16string Text(TextId id, Language language, std::initializer_list<std::u16string_view> args) {
  const TextEntry& entry = kTextTable[static_cast<std::size_t>(id)];
  return FillIn(language == Language::English ? entry.english : entry.japanese, args);
}
