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

// The text handed to the file at once.
constexpr std::size_t kHandedText = 1 << 20;

}  // namespace

RunListRow WrittenFileRow(const MailRecord& record, std::u16string subject, const StoreIndex* index) {
  RunListRow row;
  row.path = record.Deleted ? kFreedFolderName + platform::kPathSeparator + record.FileName : record.FileName;
  row.state = record.Deleted ? RunListState::Deleted : RunListState::Listed;
  row.complete = record.Status != MailRecord::kCutShort;
  row.firstBlockOffset = record.StartBlock - 1;
  row.bytes = record.Length;
  row.date = record.Time != 0 ? platform::FileTimeToLocal(record.Time) : std::nullopt;
  if (const ListedMessage* listed = index ? index->Find(record.StartBlock) : nullptr) row.sender = listed->Sender;
  row.subject = std::move(subject);
  return row;
}

std::vector<RunListRow> LaterListRows(const std::vector<MailRecord>& records, std::vector<std::u16string>& subjects,
                                      const std::vector<ListedMessage>& missing,
                                      const std::vector<std::u16string>& deletedSenders,
                                      const std::vector<FreedFileWritten>& freed) {
  std::vector<RunListRow> rows;
  std::size_t deletedNumber = 0;
  for (std::size_t i = 1; i < records.size(); ++i)
    if (!records[i].FileName.empty() && records[i].Deleted) {
      rows.push_back(WrittenFileRow(records[i], std::move(subjects[i]), nullptr));
      if (deletedNumber < deletedSenders.size()) rows.back().sender = deletedSenders[deletedNumber++];
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

RunListWriter::RunListWriter(const std::u16string& folder, Language language, const platform::WriteFaultPlan& faults)
    : path_(platform::JoinPath(folder, std::u16string(kRunListFileName))),
      language_(language),
      folder_(platform::OutputFolder::Open(folder, error_, faults)),
      text_(RunListHeader(language)) {
  failed_ = !folder_;
  if (folder_) file_.emplace(*folder_, workingNumber_);
}

void RunListWriter::Add(const RunListRow& row) {
  ++rows_;
  if (failed_) return;
  AppendRunListLine(text_, row, language_);
  if (text_.size() >= kHandedText) failed_ = !Hand();
}

bool RunListWriter::Hand() {
  const bool written = file_->Write(std::span(reinterpret_cast<const std::uint8_t*>(text_.data()), text_.size()), error_);
  text_.clear();
  return written;
}

bool RunListWriter::Finish(std::u16string& path, platform::OsError& error) {
  path = path_;
  const bool written = !failed_ && (text_.empty() || Hand()) && file_->Close(error_, 0) &&
                       file_->Publish(kRunListFileName, error_) == platform::CreateResult::Created;
  if (!written) {
    if (file_) file_->Discard();
    error = error_;
  }
  return written;
}

bool WriteRunListFile(const std::u16string& folder, std::span<const RunListRow> rows, Language language,
                      const platform::WriteFaultPlan& faults, std::u16string& path, platform::OsError& error) {
  RunListWriter list(folder, language, faults);
  for (const RunListRow& row : rows) list.Add(row);
  return list.Finish(path, error);
}
