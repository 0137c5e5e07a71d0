// The results list's rows: filtered by state, searched in subject and sender, sorted by any column.
#include "engine/results/ResultRows.h"

#include <gtest/gtest.h>

namespace {

TEST(ResultRows, FiltersSearchesAndSortsByTheColumn) {
  const std::vector<RunListRow> rows{
      {u"受信トレイ/a.eml", RunListState::Listed, true, 0, 900, MailDate{2003, 5, 1, 9, 0, 0}, u"Taro <t@x>", u"会議"},
      {u"送信済み/仕事/削除済みメール/b.eml", RunListState::Deleted, false, 0, 20, MailDate{2001, 1, 1, 0, 0, 0}, u"hanako", u"re: taro"},
      {u"削除済みメール/c.eml", RunListState::Freed, true, 0, 100, std::nullopt, u"次郎", u"Meeting"},
      {u"", RunListState::Missing, true, 0, 0, MailDate{2003, 5, 1, 8, 59, 59}, u"TARO", u"見積"},
  };
  struct Case {
    ResultQuery query;
    std::vector<std::size_t> order;
  };
  const std::vector<Case> cases{
      {{}, {2, 1, 3, 0}},  // by date, the row without one first
      {{.sortColumn = ResultColumn::Date, .ascending = false}, {0, 3, 1, 2}},
      {{.sortColumn = ResultColumn::Size}, {3, 1, 2, 0}},
      {{.sortColumn = ResultColumn::Sender}, {3, 0, 1, 2}},
      // 削除済みメール at the top is no store's folder; equal folders keep their order.
      {{.sortColumn = ResultColumn::Folder}, {2, 3, 0, 1}},
      {{.sortColumn = ResultColumn::Folder, .ascending = false}, {1, 0, 2, 3}},
      {{.sortColumn = ResultColumn::State}, {0, 1, 2, 3}},
      {{.filter = ResultFilter::DeletedOnly}, {2, 1}},
      {{.filter = ResultFilter::Missing}, {3}},
      {{.search = u"taro", .sortColumn = ResultColumn::Subject}, {1, 0, 3}},
      {{.filter = ResultFilter::DeletedOnly, .search = u"mEEt"}, {2}},
      {{.search = u"見積"}, {3}},
  };
  const TextOrder codeUnitOrder = [](std::u16string_view a, std::u16string_view b) { return a.compare(b); };
  // Big-endian code units sort as the code units do.
  const TextSortKey codeUnitKey = [](std::u16string_view text) {
    std::string key;
    for (const char16_t c : text) key += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    return key;
  };
  EXPECT_EQ(StoreFolderOf(rows[1]), u"送信済み/仕事");
  for (const Case& c : cases) {
    EXPECT_EQ(ResultOrder(rows, c.query, codeUnitOrder), c.order);
    EXPECT_EQ(ResultOrder(rows, c.query, codeUnitKey), c.order);
  }
}

}  // namespace
