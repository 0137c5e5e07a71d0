#include "engine/StoreNames.h"

#include <set>

#include "engine/naming/DecimalText.h"
#include "engine/naming/NameKey.h"
#include "platform/Files.h"

namespace {

std::u16string WithoutExtension(std::u16string_view name) {
  const std::size_t dot = name.rfind(u'.');
  // A name that is all extension, such as ".dbx", keeps it rather than become empty.
  return std::u16string(dot == std::u16string_view::npos || dot == 0 ? name : name.substr(0, dot));
}

// Only A-Z are lowered: the mail client names its special files in ASCII.
std::u16string LowerAscii(std::u16string_view text) {
  std::u16string lowered(text);
  for (char16_t& c : lowered) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return lowered;
}

struct Prefix {
  std::u16string_view text;  // the English ones lowered, as the name is before the comparison
  int category;
};

constexpr Prefix kPrefixes[] = {
    {u"受信トレイ", 1}, {u"送信トレイ", 2}, {u"送信済みアイテム", 3}, {u"削除済みアイテム", 4}, {u"下書き", 5},
    {u"inbox", 1},     {u"outbox", 2},     {u"sent items", 3},      {u"deleted items", 4},   {u"drafts", 5},
};

constexpr int kOtherFolder = 6;

}  // namespace

bool IsDbxFileName(std::u16string_view name) {
  constexpr std::u16string_view kExtension = u".DBX";
  return name.size() >= kExtension.size() && NameKey(name.substr(name.size() - kExtension.size())) == kExtension;
}

std::u16string_view FileNameOf(std::u16string_view path) {
  // Windows also takes "/"; on POSIX a backslash is part of a name.
  const std::size_t separator = path.find_last_of(std::u16string{u'/', platform::kPathSeparator});
  return separator == std::u16string_view::npos ? path : path.substr(separator + 1);
}

int ClassifyDbxFile(std::u16string_view name) {
  const std::u16string lowered = LowerAscii(name);
  if (lowered == u"folders.dbx" || lowered == u"offline.dbx" || lowered == u"pop3uidl.dbx") return kNotListed;
  for (const Prefix& prefix : kPrefixes) {
    if (std::u16string_view(lowered).starts_with(prefix.text)) return prefix.category;
  }
  return std::u16string_view(lowered).starts_with(u"search folder") ? kNotListed : kOtherFolder;
}

std::vector<std::u16string> SubfolderNames(const std::vector<std::u16string>& storePaths) {
  std::vector<std::u16string> names;
  std::set<std::u16string> taken;
  for (const std::u16string& path : storePaths) {
    const std::u16string base = WithoutExtension(FileNameOf(path));
    std::u16string name = base;
    for (std::int64_t k = 1; taken.contains(NameKey(name)); ++k) name = base + u"(" + DecimalText(k) + u")";
    taken.insert(NameKey(name));
    names.push_back(name);
  }
  return names;
}
