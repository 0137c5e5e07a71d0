#include "engine/RunListPhase.h"

#include <algorithm>
#include <utility>

#include "engine/freed/FreedRecoveryText.h"
#include "engine/runlist/RunListFile.h"
#include "engine/writing/StagedFile.h"
#include "platform/FileTimes.h"
#include "platform/OutputFolder.h"
#include "platform/Paths.h"

namespace {

RunListRow FileRow(const MailRecord& record, std::u16string subject, const ListedMessage* listed) {
  RunListRow row;
  row.path = record.Deleted ? kFreedFolderName + platform::kPathSeparator + record.FileName : record.FileName;
  row.state = record.Deleted ? RunListState::Deleted : RunListState::Listed;
  row.complete = record.Status != MailRecord::kCutShort;
  row.firstBlockOffset = record.StartBlock - 1;
  row.bytes = record.Length;
  row.date = record.Time != 0 ? platform::FileTimeToLocal(record.Time) : std::nullopt;
  if (listed) row.sender = listed->Sender;
  row.subject = std::move(subject);
  return row;
}

}  // namespace

std::vector<RunListRow> StoreListRows(const std::vector<MailRecord>& records, std::vector<std::u16string>& subjects,
                                      const StoreIndex* index,
                                      const std::vector<ListedMessage>& missing,
                                      const std::vector<std::u16string>& deletedSenders,
                                      const std::vector<FreedFileWritten>& freed) {
  // Rows are many and large: room for them all at once, rather than twice that while growing.
  const auto files = std::count_if(records.begin() + 1, records.end(), [](const MailRecord& r) { return !r.FileName.empty(); });
  std::vector<RunListRow> rows;
  std::size_t deletedNumber = 0;
  rows.reserve(static_cast<std::size_t>(files) + freed.size() + missing.size());
  for (const bool deleted : {false, true})
    for (std::size_t i = 1; i < records.size(); ++i)
      if (!records[i].FileName.empty() && records[i].Deleted == deleted) {
        rows.push_back(FileRow(records[i], std::move(subjects[i]), index ? index->Find(records[i].StartBlock) : nullptr));
        if (deleted && deletedNumber < deletedSenders.size()) rows.back().sender = deletedSenders[deletedNumber++];
      }
  for (const FreedFileWritten& file : freed)
    rows.push_back({kFreedFolderName + platform::kPathSeparator + file.file.name, RunListState::Freed, file.complete,
                    file.firstBlock - 1, file.bytes, file.file.date, file.file.sender, file.file.subject});
  for (const ListedMessage& message : missing)
    rows.push_back({{}, RunListState::Missing, true, message.FirstBlockOffset, 0,
                    platform::FileTimeToLocal(message.ReceivedTime), message.Sender, message.Subject});
  return rows;
}

void PutUnder(std::vector<RunListRow>& rows, const std::u16string& subfolder) {
  for (RunListRow& row : rows)
    if (!row.path.empty()) row.path = subfolder + platform::kPathSeparator + row.path;
}

bool WriteRunListFile(const std::u16string& folder, std::span<const RunListRow> rows, Language language,
                      const platform::WriteFaultPlan& faults, std::u16string& path, platform::OsError& error) {
  const std::u16string name(kRunListFileName);
  path = platform::JoinPath(folder, name);
  const std::optional<platform::OutputFolder> opened = platform::OutputFolder::Open(folder, error, faults);
  if (!opened) return false;
  // Made whole before it gets its name, as a message's file is: a run cut off, or a disk that fails,
  // leaves no list cut short to disagree with the files.
  std::int32_t workingNumber = 1;
  StagedFile file(*opened, workingNumber);
  // Handed on a row at a time: the file writes a megabyte at once, never the whole list of a large store.
  std::string line = RunListHeader(language);
  const auto writeLine = [&] {
    return file.Append(std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()), error);
  };
  bool written = writeLine();
  for (std::size_t i = 0; written && i < rows.size(); ++i) {
    line.clear();
    AppendRunListLine(line, rows[i], language);
    written = writeLine();
  }
  return written && file.Close(error, 0) && file.Publish(name, error) == platform::CreateResult::Created;
}
