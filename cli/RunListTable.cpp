#include "cli/RunListTable.h"

#include <algorithm>
#include <array>
#include <vector>

#include "cli/CliTexts.h"
#include "cli/ExitStatus.h"
#include "engine/naming/DecimalText.h"
#include "engine/results/ResultRows.h"
#include "engine/runlist/RunListFile.h"
#include "engine/runlist/RunListWords.h"

namespace cli {
namespace {

constexpr std::size_t kColumns = 5;
using Cells = std::array<std::u16string, kColumns>;
// Long senders and subjects are cut to these widths, so that the file's column stays in sight.
constexpr std::array<std::size_t, kColumns> kWidest = {40, 19, 30, 50, 0};
constexpr std::u16string_view kCutMark = u"...";
constexpr std::u16string_view kGap = u"  ";

struct Range {
  char32_t first;
  char32_t last;
};

// The East Asian wide and fullwidth characters mail uses: CJK, kana, Hangul, fullwidth forms, emoji.
constexpr Range kWide[] = {{0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},
                           {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},
                           {0xFE30, 0xFE4F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F},
                           {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD}};

std::size_t CharWidth(char32_t c) {
  if (c < 0x20 || (c >= 0x0300 && c <= 0x036F)) return 0;  // controls and combining accents
  for (const Range& range : kWide) {
    if (c >= range.first && c <= range.last) return 2;
  }
  return 1;
}

// Calls visit(start, length, width) for each character of the text.
template <typename Visit>
void ForEachChar(std::u16string_view text, Visit visit) {
  for (std::size_t i = 0; i < text.size();) {
    const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                      text[i + 1] <= 0xDFFF;
    const char32_t c = pair ? 0x10000 + ((char32_t{text[i]} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00) : text[i];
    const std::size_t length = pair ? 2 : 1;
    if (!visit(i, length, CharWidth(c))) return;
    i += length;
  }
}

std::size_t DisplayWidth(std::u16string_view text) {
  std::size_t width = 0;
  ForEachChar(text, [&](std::size_t, std::size_t, std::size_t w) { return (width += w, true); });
  return width;
}

// The text cut to at most widest columns, with a mark where it was cut; 0 for no limit.
std::u16string CutToWidth(std::u16string text, std::size_t widest) {
  if (widest == 0 || DisplayWidth(text) <= widest) return text;
  std::size_t width = 0;
  std::size_t end = 0;
  ForEachChar(text, [&](std::size_t start, std::size_t length, std::size_t w) {
    if (width + w > widest - kCutMark.size()) return false;
    width += w;
    end = start + length;
    return true;
  });
  return text.substr(0, end) + std::u16string(kCutMark);
}

Cells HeadingCells(Language language) {
  const std::u16string columns = CliText(CliTextId::ListColumns, language);
  Cells cells;
  std::size_t start = 0;
  for (std::u16string& cell : cells) {
    const std::size_t tab = std::min(columns.find(u'\t', start), columns.size());
    cell = columns.substr(start, tab - start);
    start = tab + 1;
  }
  return cells;
}

Cells RowCells(const RunListRow& row, Language language) {
  std::u16string state(RunListStateWord(row.state, language));
  if (!row.complete && row.state != RunListState::Missing) state += u'/' + std::u16string(CompletenessWord(false, language));
  Cells cells{state, RunListDateText(row.date), row.sender, row.subject, row.path};
  for (std::size_t i = 0; i < kColumns; ++i) cells[i] = CutToWidth(std::move(cells[i]), kWidest[i]);
  return cells;
}

std::u16string TableLine(const Cells& cells, const std::array<std::size_t, kColumns>& widths) {
  std::u16string line;
  for (std::size_t i = 0; i + 1 < kColumns; ++i) {
    line += cells[i] + std::u16string(widths[i] - DisplayWidth(cells[i]), u' ') + std::u16string(kGap);
  }
  line += cells[kColumns - 1];
  line.erase(line.find_last_not_of(u' ') + 1);  // a missing message has no file
  return line + u'\n';
}

}  // namespace

int PrintRunList(const std::u16string& runFolder, bool deletedOnly, TextOutput& out, TextOutput& err,
                 Language language) {
  platform::OsError error;
  const std::optional<RunList> list = ReadRunListFile(runFolder, error);
  if (!list) {
    std::u16string message =
        CliText(CliTextId::ListUnreadable, language, {runFolder + platform::kPathSeparator + std::u16string(kRunListFileName)});
    if (!error.text.empty()) message += u'\n' + CliText(CliTextId::Reason, language, {error.text});
    err.Write(message + u'\n');
    return kExitListUnreadable;
  }
  const ResultQuery query{.filter = deletedOnly ? ResultFilter::DeletedOnly : ResultFilter::All};
  const auto codeUnitOrder = [](std::u16string_view a, std::u16string_view b) { return a.compare(b); };
  std::vector<Cells> table{HeadingCells(language)};
  for (std::size_t i : ResultOrder(list->rows, query, codeUnitOrder)) table.push_back(RowCells(list->rows[i], language));

  std::array<std::size_t, kColumns> widths{};
  for (const Cells& cells : table) {
    for (std::size_t i = 0; i < kColumns; ++i) widths[i] = std::max(widths[i], DisplayWidth(cells[i]));
  }
  std::u16string text;
  for (const Cells& cells : table) text += TableLine(cells, widths);
  out.Write(text);
  if (list->skippedRows > 0)
    err.Write(CliText(CliTextId::ListRowsSkipped, language, {DecimalText(static_cast<std::int64_t>(list->skippedRows))}) + u'\n');
  return kExitCompleted;
}

}  // namespace cli
