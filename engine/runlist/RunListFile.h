#pragma once
// The run's list file, 復元一覧.tsv at the top of the run folder: UTF-8 with a byte order mark (so that
// Excel opens it right), tab-separated, CR LF line ends (Excel's own), a header row, then one row per
// message. Columns: file, state, complete or cut short, the first block's offset in hexadecimal
// ("0x%08X"), bytes, date ("YYYY/MM/DD hh:mm:ss"), sender, subject. Headers and words follow the run's
// language; the reader takes either.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Texts.h"
#include "engine/runlist/RunListRow.h"
#include "platform/Files.h"

inline constexpr std::u16string_view kRunListFileName = u"復元一覧.tsv";

// The byte order mark and the header row.
std::string RunListHeader(Language language);
// Appends one row with its line end; tabs and line breaks in its texts become spaces.
void AppendRunListLine(std::string& out, const RunListLine& row, Language language);
// The whole file: the header and every row.
std::string WriteRunList(std::span<const RunListRow> rows, Language language);

struct RunList {
  std::vector<RunListRow> rows;
  std::size_t skippedRows = 0;  // lines that could not be read: cut, edited or not UTF-8
};

// Reads the file's bytes in either language. A date that cannot be read leaves the row without one.
RunList ReadRunList(std::string_view bytes);

// Reads runFolder's list file; nullopt, with the system's reason, when it cannot be opened or read.
std::optional<RunList> ReadRunListFile(const std::u16string& runFolder, platform::OsError& error);
