#include "engine/index/FolderTree.h"

#include <algorithm>

#include "engine/index/IndexTree.h"

namespace {

enum Field : std::uint8_t { kId = 0x00, kParent = 0x01, kName = 0x02, kStoreFile = 0x03, kSpecial = 0x09 };

FolderInfo Folder(const IndexedInfo& info, IndexDamage& damage) {
  return FolderInfo{static_cast<std::uint32_t>(info.Number(kId, 4, damage)),
                    info.Has(kParent) ? static_cast<std::uint32_t>(info.Number(kParent, 4, damage)) : FolderInfo::kNoParent,
                    info.Text(kName), info.Text(kStoreFile), static_cast<std::uint32_t>(info.Number(kSpecial, 4, damage))};
}

// The index of the folder with that id in folders sorted by id, or folders.size().
std::size_t IndexOf(const std::vector<FolderInfo>& folders, std::uint32_t id) {
  const auto found = std::lower_bound(folders.begin(), folders.end(), id,
                                      [](const FolderInfo& folder, std::uint32_t key) { return folder.Id < key; });
  return found != folders.end() && found->Id == id ? static_cast<std::size_t>(found - folders.begin()) : folders.size();
}

// Whether following the parents from any folder comes back to it. A parent that is not listed ends
// the way up as the root does. Each folder is passed once: a way up that meets a folder known to end
// ends too.
bool HasParentCycle(const std::vector<FolderInfo>& folders) {
  enum class Mark : std::uint8_t { Unknown, OnWay, Ends };
  std::vector<Mark> marks(folders.size(), Mark::Unknown);
  std::vector<std::size_t> way;
  for (std::size_t start = 0; start < folders.size(); ++start) {
    std::size_t at = start;
    while (at < folders.size() && marks[at] == Mark::Unknown) {
      marks[at] = Mark::OnWay;
      way.push_back(at);
      at = IndexOf(folders, folders[at].ParentId);
    }
    if (at < folders.size() && marks[at] == Mark::OnWay) return true;
    for (const std::size_t passed : way) marks[passed] = Mark::Ends;
    way.clear();
  }
  return false;
}

}  // namespace

FolderTree ReadFolderTree(StoreReads& store) {
  FolderTree tree;
  tree.Damage = ReadIndexedRecords(store, IndexedFile::FolderList, [&tree](const IndexedInfo& info, IndexDamage& damage) {
                  tree.Folders.push_back(Folder(info, damage));
                }).damage;
  std::sort(tree.Folders.begin(), tree.Folders.end(), [](const FolderInfo& a, const FolderInfo& b) { return a.Id < b.Id; });
  const auto sameId = [](const FolderInfo& a, const FolderInfo& b) { return a.Id == b.Id; };
  if (tree.Whole() && std::adjacent_find(tree.Folders.begin(), tree.Folders.end(), sameId) != tree.Folders.end())
    tree.Damage = IndexDamage::ReachedTwice;
  if (tree.Whole() && HasParentCycle(tree.Folders)) tree.Damage = IndexDamage::ParentCycle;
  if (!tree.Whole()) tree.Folders.clear();
  return tree;
}
