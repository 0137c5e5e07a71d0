#include "engine/StoreNames.h"

#include <gtest/gtest.h>

#include "platform/Files.h"

namespace {

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

TEST(ClassifyDbxFile, GroupsByNamePrefixAndDropsTheClientsOwnFiles) {
  struct Case {
    std::u16string name;
    int category;
  };
  const Case cases[] = {
      {u"Folders.dbx", 0},           {u"OFFLINE.DBX", 0},          {u"pop3uidl.dbx", 0},
      {u"Search Folder.dbx", 0},     {u"SEARCH FOLDER", 0},        {u"search folder 2.dbx", 0},
      {u"受信トレイ.dbx", 1},        {u"受信トレイ", 1},           {u"受信トレイ (2).dbx", 1},
      {u"受信トレ.dbx", 6},          {u"送信トレイ.dbx", 2},       {u"送信済みアイテム.dbx", 3},
      {u"削除済みアイテム.dbx", 4},  {u"削除済みアイテ", 6},       {u"下書き.dbx", 5},
      {u"下書", 6},                  {u"Inbox.dbx", 1},             {u"abc.dbx", 6},
      {u"search", 6},                {u"Folders.dbx.bak", 6},      {u"ｓｅａｒｃｈ folder.dbx", 6},
      {u"x受信トレイ.dbx", 6},       {u"", 6},
      {u"INBOX (2).DBX", 1},         {u"Outbox.dbx", 2},           {u"sent items.dbx", 3},
      {u"Deleted Items.dbx", 4},     {u"Drafts2.dbx", 5},          {u"Inbo.dbx", 6},
      {u"Draft.dbx", 6},             {u"Sent.dbx", 6},             {u"xInbox.dbx", 6},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyDbxFile(c.name), c.category) << Narrow(c.name);
}


TEST(IsDbxFileName, TakesTheExtensionInAnyCase) {
  const struct {
    std::u16string name;
    bool dbx;
  } cases[] = {
      {u"受信トレイ.dbx", true}, {u"Inbox.DBX", true}, {u"a.Dbx", true}, {u".dbx", true},
      {u"dbx", false},          {u"a.dbx.txt", false}, {u"a.dbz", false}, {u"a_dbx", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsDbxFileName(c.name), c.dbx) << testing::PrintToString(c.name);
}

TEST(SubfolderNames, AreTheFileNamesWithoutExtensionAndNumberedOnAClash) {
  const std::u16string in = u"受信トレイ(1)" + std::u16string(1, platform::kPathSeparator);
  const struct {
    std::vector<std::u16string> stores;
    std::vector<std::u16string> folders;
    std::vector<std::vector<NamedLevel>> named = {};
  } cases[] = {
      // Named folders clash with the others, and with the deleted mail beside the mail of their parent store.
      {{u"/a/受信トレイ.dbx", u"/b/Inbox.dbx", u"/b/Del.dbx", u"/b/Inbox.dbx"},
       {u"受信トレイ", u"受信トレイ(1)", in + u"削除済みメール(1)", u"受信トレイ(2)"},
       {{}, {{1, u"受信トレイ"}}, {{1, u"受信トレイ"}, {2, u"削除済みメール"}}, {{1, u"受信トレイ"}}}},
      {{u"/a/受信トレイ.dbx", u"/b/送信済みアイテム.dbx"}, {u"受信トレイ", u"送信済みアイテム"}},
      {{u"/a/Inbox.dbx", u"/b/Inbox.dbx", u"/c/Inbox.dbx"}, {u"Inbox", u"Inbox(1)", u"Inbox(2)"}},
      {{u"/a/Inbox.dbx", u"/b/INBOX.DBX"}, {u"Inbox", u"INBOX(1)"}},
      {{u"/a/Ωmega.dbx", u"/b/ωMEGA.dbx", u"/c/ｉｎ.dbx", u"/d/ＩＮ.dbx"}, {u"Ωmega", u"ωMEGA(1)", u"ｉｎ", u"ＩＮ(1)"}},
      {{u"/a/Inbox.dbx", u"/b/Inbox(1).dbx", u"/c/Inbox.dbx"}, {u"Inbox", u"Inbox(1)", u"Inbox(2)"}},
      {{u"Sent.Items.dbx", u"/a/.dbx", u"/a/noextension"}, {u"Sent.Items", u".dbx", u"noextension"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SubfolderNames(c.stores, c.named), c.folders) << testing::PrintToString(c.stores[0]);
}

TEST(FileNameOf, IsTheLastPartOfThePath) {
  EXPECT_EQ(FileNameOf(u"/mnt/old/受信トレイ.dbx"), u"受信トレイ.dbx");
  EXPECT_EQ(FileNameOf(u"受信トレイ.dbx"), u"受信トレイ.dbx");
#ifdef _WIN32
  EXPECT_EQ(FileNameOf(u"C:\\old\\Inbox.dbx"), u"Inbox.dbx");
#else
  EXPECT_EQ(FileNameOf(u"/old/a\\b.dbx"), u"a\\b.dbx");
#endif
}

}  // namespace
