#include "engine/RunListPhase.h"

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

RunListLine WrittenFileLine(const MailRecord& record, std::u16string_view subject, const ListedMessage* listed) {
  return {record.FileName,
          RunListState::Listed,
          record.Status != MailRecord::kCutShort,
          record.StartBlock - 1,
          record.Length,
          record.Time != 0 ? platform::FileTimeToLocal(record.Time) : std::nullopt,
          listed ? std::u16string_view(listed->Sender) : std::u16string_view(),
          subject};
}

void AddLaterListLines(const std::vector<MailRecord>& records, const SubjectStore& subjects,
                       const std::vector<ListedMessage>& missing, const std::vector<std::u16string>& deletedSenders,
                       const std::vector<FreedFileWritten>& freed, const std::function<void(const RunListLine&)>& add) {
  const auto apart = [](std::u16string_view name) {
    return kFreedFolderName + platform::kPathSeparator + std::u16string(name);
  };
  std::size_t deletedNumber = 0;
  for (std::size_t i = 1; i < records.size(); ++i)
    if (!records[i].FileName.empty() && records[i].Deleted) {
      const std::u16string path = apart(records[i].FileName);
      RunListLine line = WrittenFileLine(records[i], subjects.Get(i), nullptr);
      line.path = path;
      line.state = RunListState::Deleted;
      if (deletedNumber < deletedSenders.size()) line.sender = deletedSenders[deletedNumber++];
      add(line);
    }
  for (const FreedFileWritten& file : freed) {
    const std::u16string path = apart(file.file.name);
    add({path, RunListState::Freed, file.complete, file.firstBlock - 1, file.bytes, file.file.date, file.file.sender,
         file.file.subject});
  }
  for (const ListedMessage& message : missing)
    add({{}, RunListState::Missing, true, message.FirstBlockOffset, 0, platform::FileTimeToLocal(message.ReceivedTime),
         message.Sender, message.Subject});
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

void RunListWriter::Add(const RunListLine& row) {
  ++rows_;
  if (failed_) return;
  AppendRunListLine(text_, row, language_);
  if (text_.size() >= kHandedText) failed_ = !Hand();
}

bool RunListWriter::Hand() {
  const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(text_.data()), text_.size());
  const bool written = file_->Write(bytes, error_);
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
  for (const RunListRow& row : rows) list.Add(LineOf(row));
  return list.Finish(path, error);
}
