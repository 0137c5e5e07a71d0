// The store's own index, read whole or found not whole: the real stores, stores the DBX writer indexed,
// and every damage an index or Folders.dbx may have. None crashes or hangs; each gives its reason.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "engine/index/FolderTree.h"
#include "engine/index/StoreIndex.h"
#include "platform/Utf.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RealStores.h"
#include "tests/support/ScratchFolder.h"

namespace {

using testsupport::DbxWriter;

struct Store {
  DbxWriter writer;
  std::vector<std::int64_t> nodes;
  std::vector<std::int64_t> records;  // the message info records, as the root's first entry gives them
  std::vector<platform::ByteRange> unreadable;
  std::vector<std::u16string> expected;  // what a whole index lists
  bool folders = false;
  std::string realStore;
};

std::u16string Described(const ListedMessage& m) {
  return platform::FromUtf8(std::to_string(m.FirstBlockOffset) + " " + std::to_string(m.ReceivedTime) + " ") + m.Subject +
         u" / " + m.Sender;
}

// Five messages listed through a tree of four nodes, two entries a node; first blocks in their entries
// and in the data area, subjects in code page 932 and in MIME words.
void Listed(Store& s) {
  std::vector<testsupport::IndexedMessage> listed;
  for (int i = 0; i < 5; ++i) {
    const auto placed = s.writer.AppendMessage(testsupport::MakeMessage("m", 700, i + 1));
    listed.push_back({placed.blockOffsets.front(), i == 3 ? "=?ISO-2022-JP?B?GyRCMnE1RBsoQg==?=" : "\x89\xef\x8b\x63",
                      "Sender " + std::to_string(i), 0x01C1E3281ABEE680u + i, i % 2 == 0});
    s.expected.push_back(Described({listed.back().firstBlock, u"会議", u"Sender " + platform::FromUtf8(std::to_string(i)),
                                    listed.back().received, 0}));
  }
  s.nodes = s.writer.AppendMessageIndex(listed, 2);
  s.records.push_back(s.writer.PeekInt32(s.nodes.front() + 0x18));
}

// Outlook Express, its local folders, and 受信トレイ with a subfolder 仕事.
void Folders(Store& s, std::uint32_t localFoldersParent) {
  s.folders = true;
  s.nodes = s.writer.AppendFolderList({{0, 0xFFFFFFFF, "Outlook Express", ""},
                                       {1, localFoldersParent, "Local Folders", ""},
                                       {2, 1, "\x8e\xf3\x90\x4d\x83\x67\x83\x8c\x83\x43", "Inbox.dbx"},
                                       {7, 2, "\x8e\x64\x8e\x96", "\x8e\x64\x8e\x96.dbx"}});
  s.expected = {u"0 in 4294967295 Outlook Express ()", u"1 in 0 Local Folders ()", u"2 in 1 受信トレイ (Inbox.dbx)",
                u"7 in 2 仕事 (仕事.dbx)"};
}

std::vector<std::u16string> Read(const std::u16string& path, const Store& s, IndexDamage& damage) {
  platform::OsError error;
  const auto file = platform::StoreFile::Open(path, error, s.unreadable);
  StoreReads reads(*file);
  std::vector<std::u16string> found;
  if (s.folders) {
    const FolderTree tree = ReadFolderTree(reads);
    for (const FolderInfo& f : tree.Folders)
      found.push_back(platform::FromUtf8(std::to_string(f.Id) + " in " + std::to_string(f.ParentId) + " ") + f.Name +
                      u" (" + f.StoreFileName + u")");
    damage = tree.Damage;
    return found;
  }
  const StoreIndex index = ReadStoreIndex(reads);
  for (const ListedMessage& m : index.Messages) found.push_back(Described(m));
  damage = index.Damage;
  return found;
}

void Real(Store& s, const char* name, const char16_t* listed) {
  s.realStore = name;
  s.expected = {listed};
}

TEST(StoreIndex, ListsWhatAWholeIndexListsAndTellsEveryDamage) {
  const struct {
    const char* name;
    std::function<void(Store&)> make;
    IndexDamage damage;
  } cases[] = {
      {"test.dbx lists 0xEAD4, not the stale copy at 0x6AD4", [](Store& s) {
         Real(s, "MailTransportDbx_test.dbx",
              u"60116 126632176770000000 Please read you won't be sorry........ / Wealth_Enterprises_2002 <off_1@webstation.com>");
       }, IndexDamage::None},
      {"test1.dbx lists its one message", [](Store& s) {
         Real(s, "MailTransportDbx_test1.dbx",
              u"60116 126688177500000000 [fmII] centericq 4.7.5 released (Default branch) / noreply@freshmeat.net");
       }, IndexDamage::None},
      {"a tree of several nodes, both field forms", Listed, IndexDamage::None},
      {"count 0 and no tree: whole and empty", [](Store& s) { Listed(s), s.writer.SetIndexHeader(0, 0), s.expected.clear(); }, IndexDamage::None},
      {"a count without a tree", [](Store& s) { Listed(s), s.writer.SetIndexHeader(5, 0); }, IndexDamage::CountWithoutTree},
      {"a root past the end", [](Store& s) { Listed(s), s.writer.SetIndexHeader(5, s.writer.Size()); }, IndexDamage::OutsideFile},
      {"a record past the end", [](Store& s) { Listed(s), s.writer.PokeInt32(s.nodes[0] + 0x18, 0x7FFFFFF0); }, IndexDamage::OutsideFile},
      {"a node's wrong marker", [](Store& s) { Listed(s), s.writer.PokeInt32(s.nodes[2], 0x1000); }, IndexDamage::WrongMarker},
      {"a record's wrong marker", [](Store& s) { Listed(s), s.writer.PokeInt32(s.records[0], 0x1000); }, IndexDamage::WrongMarker},
      {"a node that is its own child", [](Store& s) { Listed(s), s.writer.PokeInt32(s.nodes[1] + 8, static_cast<std::int32_t>(s.nodes[1])); }, IndexDamage::ReachedTwice},
      {"two nodes pointing at each other", [](Store& s) { Listed(s), s.writer.PokeInt32(s.nodes[3] + 8, static_cast<std::int32_t>(s.nodes[0])); }, IndexDamage::ReachedTwice},
      {"a node overlapping another", [](Store& s) { Listed(s), s.writer.PokeInt32(s.nodes[1] + 8, static_cast<std::int32_t>(s.nodes[1] + 0x18)), s.writer.PokeInt32(s.nodes[1] + 0x18, static_cast<std::int32_t>(s.nodes[1] + 0x18)); }, IndexDamage::ReachedTwice},
      {"an entry count of 0xFF", [](Store& s) { Listed(s), s.writer.Poke(s.nodes[0] + 0x11, std::vector<std::uint8_t>{0xFF}); }, IndexDamage::CountOutside},
      {"a record's entries running past its body", [](Store& s) { Listed(s), s.writer.Poke(s.records[0] + 0x0A, std::vector<std::uint8_t>{0xFF}); }, IndexDamage::CountOutside},
      {"a field's place past the data area", [](Store& s) { Listed(s), s.writer.PokeInt32(s.records[0] + 0x0C, 0x7FFF01); }, IndexDamage::CountOutside},
      {"a header count the walk disagrees with", [](Store& s) { Listed(s), s.writer.SetIndexHeader(6, s.nodes[0]); }, IndexDamage::CountDisagrees},
      {"an unreadable sector in a node", [](Store& s) { Listed(s), s.unreadable.push_back({s.nodes[2] / 512 * 512 + 512, 512}); }, IndexDamage::Unreadable},
      {"Folders.dbx", [](Store& s) { Folders(s, 0); }, IndexDamage::None},
      {"Folders.dbx whose parents form a cycle", [](Store& s) { Folders(s, 7), s.expected.clear(); }, IndexDamage::ParentCycle},
  };
  const testsupport::ScratchFolder scratch;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Store s;
    c.make(s);
    std::u16string path = scratch.WriteFile(u"store.dbx", s.writer.Bytes());
    if (!s.realStore.empty()) {
      const auto real = testsupport::RealStore(s.realStore);
      if (!real) continue;
      path = *real;
    }
    IndexDamage damage = IndexDamage::None;
    const std::vector<std::u16string> found = Read(path, s, damage);
    EXPECT_EQ(damage, c.damage);
    EXPECT_EQ(found, c.damage == IndexDamage::None ? s.expected : std::vector<std::u16string>{});
  }
}

}  // namespace
