#include "engine/results/ResultRows.h"

#include <algorithm>
#include <tuple>

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

auto DateKey(const RunListRow& row) {
  const MailDate date = row.date.value_or(MailDate{});
  return std::tuple(row.date.has_value(), date.year, date.month, date.day, date.hour, date.minute, date.second);
}

// Negative, zero or positive as a sorts before, with or after b in the column, ascending.
int Compare(const RunListRow& a, const RunListRow& b, ResultColumn column, const TextOrder& textOrder) {
  const auto order = [](const auto& x, const auto& y) { return x < y ? -1 : (y < x ? 1 : 0); };
  switch (column) {
    case ResultColumn::State:
      return order(std::pair(a.state, a.complete), std::pair(b.state, b.complete));
    case ResultColumn::Date:
      return order(DateKey(a), DateKey(b));
    case ResultColumn::Size:
      return order(a.bytes, b.bytes);
    case ResultColumn::Sender:
      return textOrder(a.sender, b.sender);
    case ResultColumn::Subject:
      return textOrder(a.subject, b.subject);
    case ResultColumn::Folder:
      return textOrder(StoreFolderOf(a), StoreFolderOf(b));
    case ResultColumn::Path:
      break;
  }
  return textOrder(a.path, b.path);
}

}  // namespace

std::vector<std::size_t> ResultOrder(std::span<const RunListRow> rows, const ResultQuery& query,
                                     const TextOrder& textOrder) {
  std::vector<std::size_t> order;
  order.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const RunListRow& row = rows[i];
    if (Passes(query.filter, row.state) && (Contains(row.subject, query.search) || Contains(row.sender, query.search)))
      order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const int c = Compare(rows[a], rows[b], query.sortColumn, textOrder);
    return query.ascending ? c < 0 : c > 0;
  });
  return order;
}
