#include <string>
#include <string_view>

#include "convert/Decoders.h"
#include "mailinfo/MailInfo.h"

namespace {

std::u16string_view Trimmed(std::u16string_view text) {
  const auto first = text.find_first_not_of(u" \t");
  if (first == std::u16string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(u" \t") - first + 1);
}

// Quotes around a display name go, and a backslash keeps the character after it.
std::u16string Unquoted(std::u16string_view name) {
  if (name.size() < 2 || name.front() != u'"' || name.back() != u'"') return std::u16string(name);
  std::u16string text;
  for (std::size_t i = 1; i + 1 < name.size(); ++i) {
    if (name[i] == u'\\' && i + 2 < name.size()) ++i;
    text += name[i];
  }
  return text;
}

// "Name <address>", "<address>", "address (Name)" or "address".
std::u16string_view NameOrAddress(std::u16string_view from) {
  const auto open = from.find(u'<');
  if (open != std::u16string_view::npos) {
    const std::u16string_view name = Trimmed(from.substr(0, open));
    if (!name.empty()) return name;
    const auto close = from.find(u'>', open);
    return Trimmed(from.substr(open + 1, close == std::u16string_view::npos ? close : close - open - 1));
  }
  const auto comment = from.find(u'(');
  const auto end = from.rfind(u')');
  if (comment != std::u16string_view::npos && end != std::u16string_view::npos && end > comment + 1)
    return Trimmed(from.substr(comment + 1, end - comment - 1));
  return Trimmed(from);
}

}  // namespace

std::u16string SenderName(std::u16string_view from) {
  const std::u16string name = Unquoted(NameOrAddress(from));
  // Many mailers put encoded words inside the quotes, so decoding comes after the quotes go.
  return DecodeMimeHeader(name).value_or(name);
}
