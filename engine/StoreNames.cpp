#include "engine/StoreNames.h"

#include <map>
#include <set>
#include <utility>

#include "engine/freed/FreedRecoveryText.h"
#include "engine/naming/DecimalText.h"
#include "engine/naming/FileNaming.h"
#include "engine/naming/NameKey.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace {

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

// The first of base, base(1), base(2)... that the folder does not hold yet, now taken.
std::u16string FreeName(const std::u16string& base, std::set<std::u16string>& taken) {
  std::u16string name = base;
  for (std::int64_t k = 1; taken.contains(NameKey(name)); ++k) name = base + u"(" + DecimalText(k) + u")";
  taken.insert(NameKey(name));
  return name;
}

}  // namespace

std::u16string WithoutExtension(std::u16string_view name) {
  const std::size_t dot = name.rfind(u'.');
  return std::u16string(dot == std::u16string_view::npos || dot == 0 ? name : name.substr(0, dot));
}

std::optional<std::u16string> FolderNameText(std::u16string_view name) {
  if (name.empty()) return std::nullopt;
  std::u16string text = FileNameText(name);
  // Windows drops the dots and spaces that end a name: they become "_", so that "." and ".." are names
  // too and a folder is called alike everywhere.
  for (auto c = text.rbegin(); c != text.rend() && (*c == u'.' || *c == u' '); ++c) *c = u'_';
  if (IsRefusedNameText(text) || !SuffixedFileName(text, 0)) return std::nullopt;
  return text;
}

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

std::vector<std::u16string> SubfolderNames(const std::vector<std::u16string>& storePaths,
                                           const std::vector<std::vector<NamedLevel>>& named) {
  std::map<std::u16string, std::set<std::u16string>> taken;  // by a folder's path, the names in it
  const auto newLevel = [&taken](const std::u16string& parent, const std::u16string& text) {
    const auto [folder, first] = taken.try_emplace(parent);
    if (first && !parent.empty()) folder->second.insert(NameKey(kFreedFolderName));
    const std::u16string name = FreeName(text, folder->second);
    return parent.empty() ? name : platform::JoinPath(parent, name);
  };
  std::map<std::pair<std::u16string, std::uint64_t>, std::u16string> given;  // by the parent's path and the owner
  std::set<std::u16string> storeFolders;  // a store named twice (its folder given twice) gets two folders
  std::vector<std::u16string> names;
  for (std::size_t i = 0; i < storePaths.size(); ++i) {
    std::u16string path;
    if (i >= named.size() || named[i].empty()) path = newLevel(u"", WithoutExtension(FileNameOf(storePaths[i])));
    for (std::size_t l = 0; i < named.size() && l < named[i].size(); ++l) {
      const auto [at, fresh] = given.try_emplace({path, named[i][l].owner});
      if (fresh || (l + 1 == named[i].size() && storeFolders.contains(at->second)))
        at->second = newLevel(path, named[i][l].text);
      path = at->second;
    }
    storeFolders.insert(path);
    names.push_back(path);
  }
  return names;
}
