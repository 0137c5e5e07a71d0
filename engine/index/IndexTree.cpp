#include "engine/index/IndexTree.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <vector>

namespace {

constexpr std::uint32_t kMagic = 0xFE12ADCF;
constexpr std::size_t kKindAt = 0x04;
constexpr std::size_t kCountAt = 0xC4;
constexpr std::size_t kRootAt = 0xE4;
constexpr std::int64_t kNodeSize = 0x27C;
constexpr std::size_t kFirstChildAt = 0x08;
constexpr std::size_t kEntryCountAt = 0x11;
constexpr std::size_t kEntriesAt = 0x18;
constexpr std::size_t kEntrySize = 12;
constexpr std::uint8_t kMostEntries = 0x33;

// Records a node's place; false when it was reached before or overlaps a node already reached, which
// bounds the walk to the nodes that fit into the file side by side.
bool Reach(std::set<std::int64_t>& reached, std::int64_t node) {
  const auto after = reached.lower_bound(node);
  if (after != reached.end() && *after < node + kNodeSize) return false;
  if (after != reached.begin() && *std::prev(after) + kNodeSize > node) return false;
  reached.insert(after, node);
  return true;
}

// Reads one node: its values go to values, its children to children.
IndexDamage ReadNode(IndexReads& reads, std::int64_t offset, std::vector<std::int64_t>& values,
                     std::vector<std::int64_t>& children) {
  IndexDamage damage = IndexDamage::None;
  const auto node = reads.Fetch(offset, kNodeSize, damage);
  if (node.empty()) return damage;
  if (Uint32At(node, 0) != offset) return IndexDamage::WrongMarker;
  const std::uint8_t entries = node[kEntryCountAt];
  if (entries > kMostEntries) return IndexDamage::CountOutside;
  const auto addChild = [&children](std::uint32_t child) {
    if (child != 0) children.push_back(child);
  };
  addChild(Uint32At(node, kFirstChildAt));
  for (std::size_t at = kEntriesAt; at < kEntriesAt + entries * kEntrySize; at += kEntrySize) {
    values.push_back(Uint32At(node, at));
    addChild(Uint32At(node, at + 4));
  }
  return IndexDamage::None;
}

// The values of the tree, level by level, each level's nodes in ascending order.
IndexDamage WalkTree(IndexReads& reads, std::int64_t root, std::int64_t listedCount, std::vector<std::int64_t>& values) {
  std::set<std::int64_t> reached;
  std::vector<std::int64_t> level{root};
  while (!level.empty()) {
    std::sort(level.begin(), level.end());
    std::vector<std::int64_t> next;
    for (const std::int64_t node : level) {
      if (!Reach(reached, node)) return IndexDamage::ReachedTwice;
      if (const IndexDamage damage = ReadNode(reads, node, values, next); damage != IndexDamage::None) return damage;
      if (std::ssize(values) > listedCount) return IndexDamage::CountDisagrees;
    }
    level = std::move(next);
  }
  if (std::ssize(values) != listedCount) return IndexDamage::CountDisagrees;
  std::sort(values.begin(), values.end());
  if (std::adjacent_find(values.begin(), values.end()) != values.end()) return IndexDamage::ReachedTwice;
  return IndexDamage::None;
}

}  // namespace

IndexWalk ReadIndexedRecords(StoreReads& store, IndexedFile kind,
                             const std::function<void(const IndexedInfo&, IndexDamage&)>& take) {
  IndexReads reads(store);
  IndexWalk walk;
  const auto header = reads.Fetch(0, kRootAt + 4, walk.damage);
  if (header.empty()) return walk;
  if (Uint32At(header, 0) != kMagic || Uint32At(header, kKindAt) != static_cast<std::uint32_t>(kind)) {
    walk.damage = IndexDamage::NotIndexed;
    return walk;
  }
  walk.listedCount = Uint32At(header, kCountAt);
  const std::uint32_t root = Uint32At(header, kRootAt);
  if (root == 0) {
    if (walk.listedCount != 0) walk.damage = IndexDamage::CountWithoutTree;
    return walk;
  }
  std::vector<std::int64_t> values;
  walk.damage = WalkTree(reads, root, walk.listedCount, values);
  for (auto value = values.begin(); walk.damage == IndexDamage::None && value != values.end(); ++value) {
    if (const auto info = IndexedInfo::Read(reads, *value, walk.damage)) take(*info, walk.damage);
  }
  return walk;
}
