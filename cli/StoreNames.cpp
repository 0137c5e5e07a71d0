#include "cli/StoreNames.h"

#include <set>

#include "engine/naming/DecimalText.h"
#include "engine/naming/NameKey.h"
#include "platform/Files.h"

namespace cli {
namespace {

std::u16string WithoutExtension(std::u16string_view name) {
  const std::size_t dot = name.rfind(u'.');
  // A name that is all extension, such as ".dbx", keeps it rather than become empty.
  return std::u16string(dot == std::u16string_view::npos || dot == 0 ? name : name.substr(0, dot));
}

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

}  // namespace cli
