#include "engine/FolderNames.h"

#include <algorithm>
#include <map>
#include <optional>

#include "engine/index/FolderTree.h"
#include "engine/naming/NameKey.h"

namespace {

std::u16string FolderOf(const std::u16string& path) { return path.substr(0, path.size() - FileNameOf(path).size()); }

bool IsFolderList(const BatchStore& store) {
  return store.fromFolder && !store.problem && NameKey(FileNameOf(store.path)) == u"FOLDERS.DBX";
}

// The folder list may give a path: only its last part is the store's file name.
std::u16string_view StoreFileOf(const FolderInfo& folder) {
  const std::u16string_view name = folder.StoreFileName;
  const std::size_t separator = name.find_last_of(u"\\/");
  return separator == std::u16string_view::npos ? name : name.substr(separator + 1);
}

// Whole, or nullopt: a list that cannot be opened is no more use than a damaged one.
std::optional<FolderTree> ReadFolderList(const std::u16string& path, const RunOptions& options) {
  platform::OsError error;
  const std::optional<platform::StoreFile> file = platform::StoreFile::Open(path, error, options.UnreadableRanges);
  if (!file) return std::nullopt;
  StoreReads reads(*file);
  FolderTree tree = ReadFolderTree(reads);
  if (!tree.Whole()) return std::nullopt;
  return tree;
}

const FolderInfo* ParentOf(const FolderTree& tree, const FolderInfo& folder) {
  const auto found = std::lower_bound(tree.Folders.begin(), tree.Folders.end(), folder.ParentId,
                                      [](const FolderInfo& f, std::uint32_t id) { return f.Id < id; });
  return found != tree.Folders.end() && found->Id == folder.ParentId ? &*found : nullptr;
}

// The name the user gave it, else its file's: a name no folder may take is no name.
std::u16string LevelText(const FolderInfo& folder) {
  if (std::optional<std::u16string> named = FolderNameText(folder.Name)) return *named;
  return FolderNameText(WithoutExtension(StoreFileOf(folder))).value_or(u"_");
}

// The folder that keeps the store, and those above it that keep one, from the top; the reader left no
// cycle, so the way up ends.
std::vector<NamedLevel> LevelsOf(const FolderTree& tree, std::size_t treeNumber, std::u16string_view storeFile) {
  const auto own = std::find_if(tree.Folders.begin(), tree.Folders.end(), [storeFile](const FolderInfo& folder) {
    return !StoreFileOf(folder).empty() && NameKey(StoreFileOf(folder)) == NameKey(storeFile);
  });
  std::vector<NamedLevel> levels;
  if (own == tree.Folders.end()) return levels;
  for (const FolderInfo* at = &*own; at != nullptr; at = ParentOf(tree, *at))
    if (!StoreFileOf(*at).empty()) levels.push_back({(std::uint64_t{treeNumber} << 32) | at->Id, LevelText(*at)});
  std::reverse(levels.begin(), levels.end());
  return levels;
}

}  // namespace

FolderListNames NamesFromFolderLists(const std::vector<BatchStore>& stores, const RunOptions& options) {
  FolderListNames names;
  names.levels.resize(stores.size());
  if (!options.UseIndex) return names;
  std::map<std::u16string, FolderTree> trees;  // by the folder that holds the list
  for (const BatchStore& store : stores) {
    if (!IsFolderList(store) || trees.contains(FolderOf(store.path))) continue;
    std::optional<FolderTree> tree = ReadFolderList(store.path, options);
    if (tree)
      trees.emplace(FolderOf(store.path), std::move(*tree));
    else
      names.unreadable = true;
  }
  for (std::size_t i = 0; i < stores.size(); ++i) {
    const auto tree = trees.find(FolderOf(stores[i].path));
    if (stores[i].fromFolder && tree != trees.end())
      names.levels[i] = LevelsOf(tree->second, static_cast<std::size_t>(std::distance(trees.begin(), tree)),
                                 FileNameOf(stores[i].path));
  }
  return names;
}
