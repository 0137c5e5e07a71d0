#include "engine/results/HtmlText.h"

#include <array>
#include <charconv>

#include "mailinfo/AsciiLower.h"

namespace {

constexpr std::array<std::u16string_view, 5> kLineEnds = {u"br", u"/p", u"/div", u"/tr", u"/li"};
constexpr std::array<std::u16string_view, 3> kHidden = {u"head", u"script", u"style"};

constexpr std::size_t kLongestEntity = 12;  // "&#x10FFFF;" and the named ones fit

struct Entity {
  std::u16string_view name;
  char16_t character;
};
constexpr std::array<Entity, 6> kEntities = {
    {{u"amp", u'&'}, {u"lt", u'<'}, {u"gt", u'>'}, {u"nbsp", u' '}, {u"quot", u'"'}, {u"apos", u'\''}}};

bool IsNameEnd(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'/' || c == u'>'; }

// The tag's name in lowercase, with the "/" of a closing tag.
std::u16string_view TagName(std::u16string_view lowered, std::size_t open) {
  std::size_t end = open + 1;
  if (end < lowered.size() && lowered[end] == u'/') ++end;
  while (end < lowered.size() && !IsNameEnd(lowered[end])) ++end;
  return lowered.substr(open + 1, end - open - 1);
}

void AppendCodePoint(std::u16string& text, std::uint32_t c) {
  if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return;
  if (c < 0x10000) {
    text += static_cast<char16_t>(c);
  } else {
    text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
    text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  }
}

// Appends the entity's character and returns true when name (between "&" and ";") is one we know.
bool AppendEntity(std::u16string& text, std::u16string_view name) {
  for (const Entity& entity : kEntities) {
    if (entity.name == name) {
      text += entity.character;
      return true;
    }
  }
  if (name.size() < 2 || name.front() != u'#') return false;
  const bool hex = name[1] == u'x';
  const std::string digits(name.begin() + (hex ? 2 : 1), name.end());
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) return false;
  AppendCodePoint(text, value);
  return true;
}

void EndLine(std::u16string& text) {
  while (!text.empty() && text.back() == u' ') text.pop_back();
  text += u'\n';
}

}  // namespace

std::u16string HtmlToText(std::u16string_view html) {
  const std::u16string lowered = AsciiLower(html);
  std::u16string text;
  std::size_t at = 0;
  while (at < html.size()) {
    const char16_t c = html[at];
    if (c == u'<') {
      if (lowered.compare(at, 4, u"<!--") == 0) {
        const std::size_t close = lowered.find(u"-->", at);
        at = close == std::u16string::npos ? html.size() : close + 3;
        continue;
      }
      const std::u16string_view name = TagName(lowered, at);
      for (std::u16string_view lineEnd : kLineEnds) {
        if (name == lineEnd) EndLine(text);
      }
      for (std::u16string_view hidden : kHidden) {
        if (name == hidden) at = std::min(lowered.find(u"</" + std::u16string(hidden), at), html.size());
      }
      const std::size_t close = lowered.find(u'>', at);
      at = close == std::u16string::npos ? html.size() : close + 1;
    } else if (c == u'&') {
      // Only a short name can be an entity; looking no further keeps a text full of "&" linear.
      const std::size_t semicolon = std::u16string_view(lowered).substr(at, kLongestEntity).find(u';');
      const bool known = semicolon != std::u16string_view::npos &&
                         AppendEntity(text, std::u16string_view(lowered).substr(at + 1, semicolon - 1));
      if (!known) text += c;
      at = known ? at + semicolon + 1 : at + 1;
    } else if (c == u' ' || c == u'\r' || c == u'\n' || c == u'\t') {
      // Blanks and line breaks of the source run together into one space, as a browser shows them.
      if (!text.empty() && text.back() != u' ' && text.back() != u'\n') text += u' ';
      ++at;
    } else {
      text += c;
      ++at;
    }
  }
  return text;
}
