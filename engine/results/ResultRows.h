#pragma once
// The rows a results list shows: the run's list filtered, searched and sorted. The rows stay where they
// are; the answer is their indices in the order to show, so that 300,000 rows sort quickly.
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/runlist/RunListRow.h"

enum class ResultColumn { State, Date, Sender, Subject, Size, Folder, Path };
// DeletedOnly keeps the deleted and the freed messages: both are mail the user had deleted.
enum class ResultFilter { All, DeletedOnly, Missing };

// Negative, zero or positive, as the user's locale orders two texts (CompareStringEx in the window).
using TextOrder = std::function<int(std::u16string_view, std::u16string_view)>;
// The bytes a text sorts by in the user's locale, compared as unsigned bytes (LCMapStringEx's sort key in
// the window). Made once for each row, a key sorts a long list by text as quickly as by number.
using TextSortKey = std::function<std::string(std::u16string_view)>;

struct ResultQuery {
  ResultFilter filter = ResultFilter::All;
  std::u16string_view search{};  // found in the subject or the sender, ASCII letters in either case
  ResultColumn sortColumn = ResultColumn::Date;
  bool ascending = true;
};

// The indices into rows of those the query keeps, in its order; rows that compare equal keep the
// list's order. Dates sort as dates (rows without one first), sizes as numbers, texts by textOrder.
std::vector<std::size_t> ResultOrder(std::span<const RunListRow> rows, const ResultQuery& query,
                                     const TextOrder& textOrder);
// The same order, texts sorting by their keys.
std::vector<std::size_t> ResultOrder(std::span<const RunListRow> rows, const ResultQuery& query,
                                     const TextSortKey& sortKey);
