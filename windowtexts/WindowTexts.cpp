#include "windowtexts/WindowTexts.h"

std::span<const WindowTextEntry> AllWindowTexts() { return kWindowTexts; }

std::u16string Text(WindowText id, Language language, std::initializer_list<std::u16string_view> args) {
  const WindowTextEntry& entry = kWindowTexts[static_cast<std::size_t>(id)];
  return FillIn(language == Language::English ? entry.english : entry.japanese, args);
}

char16_t AccessKey(std::u16string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    const char16_t next = caption[i + 1];
    if (next != u'&') return next >= u'a' && next <= u'z' ? static_cast<char16_t>(next - u'a' + u'A') : next;
    ++i;
  }
  return u'\0';
}

std::u16string WithPlainAmpersands(std::u16string_view text) {
  std::u16string plain;
  for (const char16_t c : text) {
    if (c == u'&') plain += u'&';
    plain += c;
  }
  return plain;
}
