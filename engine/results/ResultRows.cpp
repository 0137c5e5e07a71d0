#include "engine/results/ResultRows.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool Contains(std::u16string_view text, std::u16string_view search) {
  const auto same = [](char16_t a, char16_t b) { return FoldAscii(a) == FoldAscii(b); };
  return std::search(text.begin(), text.end(), search.begin(), search.end(), same) != text.end();
}

bool Passes(ResultFilter filter, RunListState state) {
  switch (filter) {
    case ResultFilter::DeletedOnly:
      return state == RunListState::Deleted || state == RunListState::Freed;
    case ResultFilter::Missing:
      return state == RunListState::Missing;
    case ResultFilter::All:
      break;
  }
  return true;
}

// The key of a row in a column that sorts as numbers; dates as their fields in order, none first.
std::int64_t NumberKey(const RunListRow& row, ResultColumn column) {
  if (column == ResultColumn::Size) return row.bytes;
  if (column == ResultColumn::State) return static_cast<std::int64_t>(row.state) * 2 + (row.complete ? 0 : 1);
  if (!row.date) return -1;
  const MailDate& d = *row.date;
  return ((((std::int64_t{d.year} * 13 + d.month) * 32 + d.day) * 24 + d.hour) * 60 + d.minute) * 60 + d.second;
}

std::u16string_view TextKey(const RunListRow& row, ResultColumn column) {
  switch (column) {
    case ResultColumn::Sender:
      return row.sender;
    case ResultColumn::Subject:
      return row.subject;
    case ResultColumn::Folder:
      return StoreFolderOf(row);
    default:
      return row.path;
  }
}

bool SortsAsNumber(ResultColumn column) {
  return column == ResultColumn::State || column == ResultColumn::Date || column == ResultColumn::Size;
}

// Numbers are sorted as (key, index) pairs: one key a row, and the index keeps equal rows in order.
void SortByNumber(std::vector<std::size_t>& order, std::span<const RunListRow> rows, const ResultQuery& query) {
  std::vector<std::pair<std::int64_t, std::size_t>> keyed;
  keyed.reserve(order.size());
  for (std::size_t i : order) keyed.emplace_back(NumberKey(rows[i], query.sortColumn) * (query.ascending ? 1 : -1), i);
  std::sort(keyed.begin(), keyed.end());
  for (std::size_t i = 0; i < keyed.size(); ++i) order[i] = keyed[i].second;
}

// The indices of the rows the filter and the search keep, in the list's order.
std::vector<std::size_t> Kept(std::span<const RunListRow> rows, const ResultQuery& query) {
  std::vector<std::size_t> order;
  order.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const RunListRow& row = rows[i];
    if (Passes(query.filter, row.state) && (Contains(row.subject, query.search) || Contains(row.sender, query.search)))
      order.push_back(i);
  }
  return order;
}

}  // namespace

std::vector<std::size_t> ResultOrder(std::span<const RunListRow> rows, const ResultQuery& query,
                                     const TextSortKey& sortKey) {
  std::vector<std::size_t> order = Kept(rows, query);
  if (SortsAsNumber(query.sortColumn)) {
    SortByNumber(order, rows, query);
    return order;
  }
  std::vector<std::pair<std::string, std::size_t>> keyed;
  keyed.reserve(order.size());
  for (std::size_t i : order) keyed.emplace_back(sortKey(TextKey(rows[i], query.sortColumn)), i);
  // Equal keys keep the list's order whichever way the column sorts.
  std::sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
    const int c = a.first.compare(b.first);
    return c != 0 ? (query.ascending ? c < 0 : c > 0) : a.second < b.second;
  });
  for (std::size_t i = 0; i < keyed.size(); ++i) order[i] = keyed[i].second;
  return order;
}

std::vector<std::size_t> ResultOrder(std::span<const RunListRow> rows, const ResultQuery& query,
                                     const TextOrder& textOrder) {
  std::vector<std::size_t> order = Kept(rows, query);
  if (SortsAsNumber(query.sortColumn)) {
    SortByNumber(order, rows, query);
  } else {
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      const int c = textOrder(TextKey(rows[a], query.sortColumn), TextKey(rows[b], query.sortColumn));
      return query.ascending ? c < 0 : c > 0;
    });
  }
  return order;
}
