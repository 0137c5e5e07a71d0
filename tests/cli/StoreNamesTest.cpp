#include "cli/StoreNames.h"

#include <gtest/gtest.h>

namespace {

TEST(IsDbxFileName, TakesTheExtensionInAnyCase) {
  const struct {
    std::u16string name;
    bool dbx;
  } cases[] = {
      {u"受信トレイ.dbx", true}, {u"Inbox.DBX", true}, {u"a.Dbx", true}, {u".dbx", true},
      {u"dbx", false},          {u"a.dbx.txt", false}, {u"a.dbz", false}, {u"a_dbx", false},
  };
  for (const auto& c : cases) EXPECT_EQ(cli::IsDbxFileName(c.name), c.dbx) << testing::PrintToString(c.name);
}

TEST(SubfolderNames, AreTheFileNamesWithoutExtensionAndNumberedOnAClash) {
  const struct {
    std::vector<std::u16string> stores;
    std::vector<std::u16string> folders;
  } cases[] = {
      {{u"/a/受信トレイ.dbx", u"/b/送信済みアイテム.dbx"}, {u"受信トレイ", u"送信済みアイテム"}},
      {{u"/a/Inbox.dbx", u"/b/Inbox.dbx", u"/c/Inbox.dbx"}, {u"Inbox", u"Inbox(1)", u"Inbox(2)"}},
      {{u"/a/Inbox.dbx", u"/b/INBOX.DBX"}, {u"Inbox", u"INBOX(1)"}},
      {{u"/a/Ωmega.dbx", u"/b/ωMEGA.dbx", u"/c/ｉｎ.dbx", u"/d/ＩＮ.dbx"}, {u"Ωmega", u"ωMEGA(1)", u"ｉｎ", u"ＩＮ(1)"}},
      {{u"/a/Inbox.dbx", u"/b/Inbox(1).dbx", u"/c/Inbox.dbx"}, {u"Inbox", u"Inbox(1)", u"Inbox(2)"}},
      {{u"Sent.Items.dbx", u"/a/.dbx", u"/a/noextension"}, {u"Sent.Items", u".dbx", u"noextension"}},
  };
  for (const auto& c : cases) EXPECT_EQ(cli::SubfolderNames(c.stores), c.folders) << testing::PrintToString(c.stores[0]);
}

TEST(FileNameOf, IsTheLastPartOfThePath) {
  EXPECT_EQ(cli::FileNameOf(u"/mnt/old/受信トレイ.dbx"), u"受信トレイ.dbx");
  EXPECT_EQ(cli::FileNameOf(u"受信トレイ.dbx"), u"受信トレイ.dbx");
#ifdef _WIN32
  EXPECT_EQ(cli::FileNameOf(u"C:\\old\\Inbox.dbx"), u"Inbox.dbx");
#else
  EXPECT_EQ(cli::FileNameOf(u"/old/a\\b.dbx"), u"a\\b.dbx");
#endif
}

}  // namespace
