#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "chooser/DbxFiles.h"

namespace {

TEST(FormatKilobytes, RoundsHalvesUpAndSeparatesThousands) {
  struct Case {
    std::int64_t bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {0, u"0KB"},
      {511, u"0KB"},
      {512, u"1KB"},
      {1535, u"1KB"},
      {1536, u"2KB"},
      {1023 * 1024, u"1,023KB"},
      {1048576, u"1,024KB"},
      {999 * 1024 + 511, u"999KB"},
      {999 * 1024 + 512, u"1,000KB"},
      {2147483647, u"2,097,152KB"},
      // Stores of 2 GiB and more keep their true size.
      {std::int64_t{5} << 30, u"5,242,880KB"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatKilobytes(c.bytes), c.text) << c.bytes;
}

std::vector<std::u16string> NamesOf(const std::vector<DbxFileRow>& rows) {
  std::vector<std::u16string> names;
  for (const DbxFileRow& row : rows) names.push_back(row.name);
  return names;
}

TEST(GroupDbxFiles, GroupOrderIsTheSameWhateverTheListingOrder) {
  std::vector<DbxFileEntry> listing = {{u"削除済みアイテム.dbx", 0}, {u"abc.dbx", 0},   {u"下書き.dbx", 0},
                                       {u"受信トレイ.dbx", 0},      {u"Folders.dbx", 0}, {u"送信済みアイテム.dbx", 0},
                                       {u"送信トレイ.dbx", 0}};
  const std::vector<std::u16string> expected = {u"受信トレイ.dbx", u"送信トレイ.dbx", u"送信済みアイテム.dbx",
                                                u"削除済みアイテム.dbx", u"下書き.dbx", u"abc.dbx"};
  std::sort(listing.begin(), listing.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  do {
    const std::vector<DbxFileRow> rows = GroupDbxFiles(listing);
    ASSERT_EQ(NamesOf(rows), expected);
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].category, static_cast<int>(i) + 1);
  } while (std::next_permutation(listing.begin(), listing.end(),
                                 [](const auto& a, const auto& b) { return a.name < b.name; }));
}

TEST(GroupDbxFiles, KeepsTheListingOrderInsideAGroupAndFormatsSizes) {
  const std::vector<DbxFileEntry> listing = {
      {u"zz.dbx", 1536}, {u"受信トレイ (2).dbx", 512}, {u"aa.dbx", 0}, {u"受信トレイ.dbx", 1048576}};
  const std::vector<DbxFileRow> rows = GroupDbxFiles(listing);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(NamesOf(rows), (std::vector<std::u16string>{u"受信トレイ (2).dbx", u"受信トレイ.dbx", u"zz.dbx", u"aa.dbx"}));
  EXPECT_EQ(rows[0].size, u"1KB");
  EXPECT_EQ(rows[1].size, u"1,024KB");
  EXPECT_EQ(rows[2].size, u"2KB");
  EXPECT_EQ(rows[3].size, u"0KB");
}

}  // namespace
