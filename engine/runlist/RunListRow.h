#pragma once
// One row of the run's list: a message written into the run folder, or one the store lists that was
// not found.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/naming/MailFileTime.h"

// Listed: the store's index lists it. Deleted: found, but the index does not list it. Freed: found in
// blocks the store had freed. Missing: the index lists it, the scan did not find it.
enum class RunListState { Listed, Deleted, Freed, Missing };

struct RunListRow {
  std::u16string path{};  // relative to the run folder; empty for a missing message
  RunListState state = RunListState::Listed;
  bool complete = true;  // false: cut short; not written for a missing message
  std::int64_t firstBlockOffset = 0;
  std::int64_t bytes = 0;
  std::optional<MailDate> date{};  // the local wall-clock time the file got; none when unknown
  std::u16string sender{};
  std::u16string subject{};
};

// A row with its texts borrowed from where they are kept: a large store's list is written from these
// without a row of its own for each message.
struct RunListLine {
  std::u16string_view path;
  RunListState state = RunListState::Listed;
  bool complete = true;
  std::int64_t firstBlockOffset = 0;
  std::int64_t bytes = 0;
  std::optional<MailDate> date;
  std::u16string_view sender;
  std::u16string_view subject;
};

inline RunListLine LineOf(const RunListRow& row) {
  return {row.path, row.state, row.complete, row.firstBlockOffset, row.bytes, row.date, row.sender, row.subject};
}

inline RunListRow RowOf(const RunListLine& line) {
  return {std::u16string(line.path), line.state,  line.complete, line.firstBlockOffset, line.bytes, line.date,
          std::u16string(line.sender), std::u16string(line.subject)};
}

// The store's folder in a batch run, nested as the mail client nests it: the file's folder, less the
// deleted-mail folder within it. Empty when the file lies at the top of the run folder, or in the
// deleted-mail folder there, as a single store's run puts them.
std::u16string_view StoreFolderOf(const RunListRow& row);

// "YYYY/MM/DD hh:mm:ss", as the list and the results show a date; empty when there is none.
std::u16string RunListDateText(const std::optional<MailDate>& date);
// The same, appended to out: the list writes one per row.
void AppendRunListDate(std::string& out, const std::optional<MailDate>& date);
// A value of at least 0 in base 10 or 16 (upper-case digits), with zeros before it up to leastDigits.
void AppendRunListNumber(std::string& out, std::int64_t value, int base, std::size_t leastDigits);

// The row's file under the run folder, with the system's separators.
std::u16string RunListFilePath(const std::u16string& runFolder, const RunListRow& row);
