// The store's own index, read whole or found not whole: the real stores, stores the DBX writer indexed,
// and every damage an index or Folders.dbx may have. None crashes or hangs; each gives its reason.
#include <gtest/gtest.h>

#include <functional>

#include "engine/index/FolderTree.h"
#include "engine/index/StoreIndex.h"
#include "platform/Utf.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RealStores.h"
#include "tests/support/ScratchFolder.h"

namespace {

using platform::FromUtf8;

struct Store {
  testsupport::DbxWriter writer;
  std::int64_t root = 0;    // the nodes lie one after another from it
  std::int64_t record = 0;  // a message info record
  std::vector<platform::ByteRange> unreadable;
  std::vector<std::u16string> expected;  // what a whole index lists
  std::string realStore;
};

std::u16string Described(const ListedMessage& m) {
  return FromUtf8(std::to_string(m.FirstBlockOffset) + " " + std::to_string(m.ReceivedTime) + " ") + m.Subject + u" / " + m.Sender;
}

// Five messages listed through a tree of four nodes, two entries a node; first blocks in their entries
// and in the data area, subjects in code page 932 and in MIME words.
void Listed(Store& s) {
  std::vector<std::int64_t> records;
  for (int i = 0; i < 5; ++i) {
    const std::int64_t first = s.writer.AppendMessage(testsupport::MakeMessage("m", 700, i + 1)).blockOffsets.front();
    records.push_back(s.writer.AppendMessageInfo(
        {first, i == 3 ? "=?ISO-2022-JP?B?GyRCMnE1RBsoQg==?=" : "\x89\xef\x8b\x63", "Sender", 1000u + i, i % 2 == 0}));
    s.expected.push_back(Described({first, u"会議", u"Sender", 1000u + i, 0}));
  }
  s.root = s.writer.AppendIndex(records, 2);
  s.record = records.front();
}

// Outlook Express, Local Folders, and 仕事 in it.
void Folders(Store& s, std::uint32_t localFoldersParent) {
  s.writer.AppendFolderList({{0, 0xFFFFFFFF, "Outlook Express", ""}, {1, localFoldersParent, "Local Folders", ""}, {7, 1, "\x8e\x64\x8e\x96", "a.dbx"}});
  s.expected = {u"0 in 4294967295 Outlook Express ()", u"1 in 0 Local Folders ()", u"7 in 1 仕事 (a.dbx)"};
}

std::vector<std::u16string> Read(const std::u16string& path, const Store& s, IndexDamage& damage) {
  platform::OsError error;
  const auto file = platform::StoreFile::Open(path, error, s.unreadable);
  StoreReads reads(*file);
  std::vector<std::u16string> found;
  const FolderTree tree = ReadFolderTree(reads);  // a message store is no Folders.dbx, nor the other way round
  const StoreIndex index = ReadStoreIndex(reads);
  for (const FolderInfo& f : tree.Folders)
    found.push_back(FromUtf8(std::to_string(f.Id) + " in " + std::to_string(f.ParentId) + " ") + f.Name + u" (" + f.StoreFileName + u")");
  for (const ListedMessage& m : index.Messages) found.push_back(Described(m));
  damage = tree.Damage == IndexDamage::NotIndexed ? index.Damage : tree.Damage;
  return found;
}

std::int32_t Node(const Store& s, int k) { return static_cast<std::int32_t>(s.root + k * 0x27C); }

TEST(StoreIndex, ListsWhatAWholeIndexListsAndTellsEveryDamage) {
  using enum IndexDamage;
  const struct {
    const char* name;
    std::function<void(Store&)> make;
    IndexDamage damage;
  } cases[] = {
      {"test.dbx lists 0xEAD4, not the stale copy at 0x6AD4", [](Store& s) { s.realStore = "MailTransportDbx_test.dbx", s.expected = {
         u"60116 126632176770000000 Please read you won't be sorry........ / Wealth_Enterprises_2002 <off_1@webstation.com>"}; }, None},
      {"test1.dbx lists its one message", [](Store& s) { s.realStore = "MailTransportDbx_test1.dbx", s.expected = {
         u"60116 126688177500000000 [fmII] centericq 4.7.5 released (Default branch) / noreply@freshmeat.net"}; }, None},
      {"a tree of several nodes, both field forms", Listed, None},
      {"count 0 and no tree: whole and empty", [](Store& s) { Listed(s), s.writer.PokeInt32(0xE4, 0), s.writer.PokeInt32(0xC4, 0), s.expected.clear(); }, None},
      {"a count without a tree", [](Store& s) { Listed(s), s.writer.PokeInt32(0xE4, 0); }, CountWithoutTree},
      {"a root past the end", [](Store& s) { Listed(s), s.writer.PokeInt32(0xE4, static_cast<std::int32_t>(s.writer.Size())); }, OutsideFile},
      {"a record past the end", [](Store& s) { Listed(s), s.writer.PokeInt32(Node(s, 0) + 0x18, 0x7FFFFFF0); }, OutsideFile},
      {"a node's wrong marker", [](Store& s) { Listed(s), s.writer.PokeInt32(Node(s, 2), 0x1000); }, WrongMarker},
      {"a record's wrong marker", [](Store& s) { Listed(s), s.writer.PokeInt32(s.record, 0x1000); }, WrongMarker},
      {"a node that is its own child", [](Store& s) { Listed(s), s.writer.PokeInt32(Node(s, 1) + 8, Node(s, 1)); }, ReachedTwice},
      {"two nodes pointing at each other", [](Store& s) { Listed(s), s.writer.PokeInt32(Node(s, 3) + 8, Node(s, 0)); }, ReachedTwice},
      {"a node overlapping another", [](Store& s) {
         Listed(s), s.writer.PokeInt32(Node(s, 1) + 8, Node(s, 1) + 24), s.writer.PokeInt32(Node(s, 1) + 24, Node(s, 1) + 24);
       }, ReachedTwice},
      {"an entry count of 0xFF", [](Store& s) { Listed(s), s.writer.Poke(Node(s, 0) + 0x11, std::vector<std::uint8_t>{0xFF}); }, CountOutside},
      {"a record's entries running past its body", [](Store& s) { Listed(s), s.writer.Poke(s.record + 10, std::vector<std::uint8_t>{0xFF}); }, CountOutside},
      {"a field's place past the data area", [](Store& s) { Listed(s), s.writer.PokeInt32(s.record + 12, 0x7FFF01); }, CountOutside},
      {"a header count the walk disagrees with", [](Store& s) { Listed(s), s.writer.PokeInt32(0xC4, 6); }, CountDisagrees},
      {"an unreadable sector in a node", [](Store& s) { Listed(s), s.unreadable.push_back({Node(s, 2) / 512 * 512 + 512, 512}); }, Unreadable},
      {"Folders.dbx", [](Store& s) { Folders(s, 0); }, None},
      {"Folders.dbx whose parents form a cycle", [](Store& s) { Folders(s, 7); }, ParentCycle},
  };
  const testsupport::ScratchFolder scratch;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Store s;
    c.make(s);
    const auto path = s.realStore.empty() ? scratch.WriteFile(u"store.dbx", s.writer.Bytes()) : testsupport::RealStore(s.realStore);
    if (!path) continue;
    IndexDamage damage = None;
    EXPECT_EQ(Read(*path, s, damage), c.damage == None ? s.expected : std::vector<std::u16string>{});
    EXPECT_EQ(damage, c.damage);
  }
}

}  // namespace
