#include "engine/naming/FileNaming.h"

#include <array>
#include <cstddef>

#include "engine/naming/DecimalText.h"
#include "mailinfo/Markers.h"

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void ReplaceAll(std::u16string& text, char16_t reserved) {
  for (char16_t& c : text)
    if (c == reserved) c = u'_';
}

std::u16string WithoutCrLfPairs(const std::u16string& text) {
  std::u16string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      ++i;
      continue;
    }
    result += text[i];
  }
  return result;
}

bool HasControlOrLoneSurrogate(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0x01 && c <= 0x1F) return true;
    if (IsHighSurrogate(c)) {
      if (i + 1 >= text.size() || !IsLowSurrogate(text[i + 1])) return true;
      ++i;
    } else if (IsLowSurrogate(c)) {
      return true;
    }
  }
  return false;
}

// Windows takes a name for a device when the part before its first dot, trailing spaces dropped, is a
// device's name: "CON.eml.eml" opens the console as surely as "CON.eml" does.
bool IsDeviceName(std::u16string_view text) {
  text = text.substr(0, text.find(u'.'));
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  std::u16string upper(text);
  for (char16_t& c : upper)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  static const std::array<std::u16string_view, 4> kPlain = {u"CON", u"PRN", u"AUX", u"NUL"};
  for (const std::u16string_view name : kPlain)
    if (upper == name) return true;
  const bool numbered = upper.size() == 4 && (upper.starts_with(u"COM") || upper.starts_with(u"LPT"));
  if (!numbered) return false;
  // Windows counts the Latin-1 superscripts as port numbers too: "COM¹" is the first serial port.
  const char16_t number = upper[3];
  return (number >= u'1' && number <= u'9') || number == u'\u00B9' || number == u'\u00B2' || number == u'\u00B3';
}

std::size_t Utf8Length(std::u16string_view text) {
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x80) {
      bytes += 1;
    } else if (c < 0x800) {
      bytes += 2;
    } else if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      bytes += 4;
      ++i;
    } else {
      bytes += 3;
    }
  }
  return bytes;
}

}  // namespace

std::u16string FileNameText(std::u16string_view subject) {
  std::u16string text(subject);
  for (const char16_t reserved : {u'\\', u'/', u':', u'*', u'?', u'"', u'<', u'>', u'|', u'\0'})
    ReplaceAll(text, reserved);
  text = WithoutCrLfPairs(text);
  return text.empty() ? std::u16string(kNoSubjectMarker) : text;
}

bool IsRefusedNameText(std::u16string_view text) { return HasControlOrLoneSurrogate(text) || IsDeviceName(text); }

std::optional<std::u16string> SuffixedFileName(std::u16string_view text, std::int32_t k) {
  constexpr std::size_t kMaxNameBytes = 255;
  std::u16string name(text);
  if (k > 0) name += u"(" + DecimalText(k) + u")";
  name += u".eml";
  if (Utf8Length(name) > kMaxNameBytes) return std::nullopt;
  return name;
}

std::int32_t ClashSuffixes::FirstCandidate(const std::u16string& text) const {
  const auto found = lastTaken_.find(text);
  return found == lastTaken_.end() ? 1 : found->second + 1;
}

void ClashSuffixes::Taken(const std::u16string& text, std::int32_t k) { lastTaken_[text] = k; }

std::optional<std::u16string> UseFreeName(const std::u16string& text, ClashSuffixes& suffixes,
                                          const std::function<NameAttempt(const std::u16string& name)>& attempt) {
  for (std::int32_t k = 0;;) {
    const std::optional<std::u16string> name = SuffixedFileName(text, k);
    if (!name) return std::nullopt;
    switch (attempt(*name)) {
      case NameAttempt::Used:
        if (k > 0) suffixes.Taken(text, k);
        return name;
      case NameAttempt::Taken:
        k = k == 0 ? suffixes.FirstCandidate(text) : k + 1;
        break;
      case NameAttempt::Failed:
        return std::nullopt;
    }
  }
}
