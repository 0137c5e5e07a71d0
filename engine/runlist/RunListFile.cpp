#include "engine/runlist/RunListFile.h"

#include <algorithm>
#include <charconv>

#include "engine/naming/DateText.h"
#include "engine/runlist/RunListWords.h"
#include "platform/Utf.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kColumns = 8;
// A list of 300,000 rows stays far below this; a larger file is no list of ours.
constexpr std::int64_t kLongestFile = std::int64_t{1} << 30;

constexpr auto BreaksRow = [](char16_t c) { return c == u'\t' || c == u'\r' || c == u'\n'; };

// A list holds a row per message: each is appended where it goes, with no text of its own.
void AppendField(std::string& out, std::u16string_view text) {
  if (std::none_of(text.begin(), text.end(), BreaksRow)) {
    platform::AppendUtf8(out, text);
    return;
  }
  std::u16string cleaned(text);
  std::replace_if(cleaned.begin(), cleaned.end(), BreaksRow, u' ');
  platform::AppendUtf8(out, cleaned);
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

std::optional<std::int64_t> Number(std::string_view text, int base) {
  if (base == 16) {
    if (!text.starts_with("0x") && !text.starts_with("0X")) return std::nullopt;
    text.remove_prefix(2);
  }
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size() || text.empty() || value < 0) return std::nullopt;
  return value;
}

bool IsUtf8(std::string_view text) { return platform::ToUtf8(platform::FromUtf8(text)) == text; }

std::optional<RunListRow> ParseRow(std::string_view line) {
  if (!IsUtf8(line)) return std::nullopt;
  const std::vector<std::string_view> fields = SplitTabs(line);
  if (fields.size() != kColumns) return std::nullopt;
  RunListRow row;
  row.path = platform::FromUtf8(fields[0]);
  const auto state = RunListStateOfWord(platform::FromUtf8(fields[1]));
  const auto complete = CompletenessOfWord(platform::FromUtf8(fields[2]));
  const auto offset = Number(fields[3], 16);
  const auto bytes = Number(fields[4], 10);
  const bool missing = state == RunListState::Missing;
  if (!state || (!complete && !missing) || !offset || !bytes || row.path.empty() != missing) return std::nullopt;
  row.state = *state;
  row.complete = complete.value_or(false);
  row.firstBlockOffset = *offset;
  row.bytes = *bytes;
  row.date = DateTextToDate(platform::FromUtf8(fields[5]));
  row.sender = platform::FromUtf8(fields[6]);
  row.subject = platform::FromUtf8(fields[7]);
  return row;
}

bool IsHeader(std::string_view line) {
  const std::u16string text = platform::FromUtf8(line);
  return text == RunListHeaderText(Language::Japanese) || text == RunListHeaderText(Language::English);
}

}  // namespace

std::string RunListHeader(Language language) {
  return std::string(kByteOrderMark) + platform::ToUtf8(RunListHeaderText(language)) + "\r\n";
}

void AppendRunListLine(std::string& out, const RunListLine& row, Language language) {
  AppendField(out, row.path);
  out += '\t';
  AppendField(out, RunListStateWord(row.state, language));
  out += '\t';
  if (row.state != RunListState::Missing) AppendField(out, CompletenessWord(row.complete, language));
  out += "\t0x";
  AppendRunListNumber(out, row.firstBlockOffset, 16, 8);
  out += '\t';
  AppendRunListNumber(out, row.bytes, 10, 1);
  out += '\t';
  AppendRunListDate(out, row.date);
  out += '\t';
  AppendField(out, row.sender);
  out += '\t';
  AppendField(out, row.subject);
  out += "\r\n";
}

std::string WriteRunList(std::span<const RunListRow> rows, Language language) {
  std::string bytes = RunListHeader(language);
  for (const RunListRow& row : rows) AppendRunListLine(bytes, LineOf(row), language);
  return bytes;
}

RunList ReadRunList(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  RunList list;
  bool first = true;
  while (!bytes.empty()) {
    const std::size_t end = std::min(bytes.find('\n'), bytes.size());
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(std::min(end + 1, bytes.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);
    const bool header = first && IsHeader(line);
    first = false;
    if (header || line.empty()) continue;
    if (auto row = ParseRow(line)) {
      list.rows.push_back(std::move(*row));
    } else {
      ++list.skippedRows;
    }
  }
  return list;
}

std::optional<RunList> ReadRunListFile(const std::u16string& runFolder, platform::OsError& error) {
  const auto file = platform::StoreFile::Open(runFolder + platform::kPathSeparator + std::u16string(kRunListFileName), error);
  if (!file) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(std::clamp<std::int64_t>(file->Length(), 0, kLongestFile)), '\0');
  const std::int64_t got = file->ReadAt(0, std::span(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()));
  if (got < 0) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(got));
  return ReadRunList(bytes);
}
