#include "engine/freed/DeletedMailFolder.h"

#include <utility>

#include "engine/freed/FreedRecoveryText.h"
#include "engine/freed/FreedReport.h"
#include "engine/naming/DateText.h"
#include "engine/naming/DecimalText.h"
#include "engine/writing/StagedFile.h"
#include "mailinfo/MailInfo.h"
#include "platform/Paths.h"

namespace {

std::span<const std::uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

DeletedMailFolder::DeletedMailFolder(const std::u16string& runFolder, platform::WriteFaultPlan faults)
    : path_(platform::JoinPath(runFolder, kFreedFolderName)), faults_(std::move(faults)) {}

std::optional<FreedWriteFailure> DeletedMailFolder::Open(std::vector<std::u16string>& files) {
  platform::OsError error;
  if (!platform::CreateFolder(path_, error) && !platform::PathExists(path_)) return FreedWriteFailure{path_, error, {}};
  folder_ = platform::OutputFolder::Open(path_, error, faults_);
  if (!folder_) return FreedWriteFailure{path_, error, {}};
  const std::u16string path = platform::JoinPath(path_, kFreedReportName);
  platform::NewFile made = folder_->CreateNew(kFreedReportName);
  if (!made.file) return FreedWriteFailure{path, made.error, {}};
  report_ = std::move(made.file);
  files.push_back(path);
  const std::string header = FreedReportHeader();
  if (!report_->Write(AsBytes(header), error)) return FreedWriteFailure{path, error, {}};
  reportBytes_ = static_cast<std::int64_t>(header.size());
  return std::nullopt;
}

bool DeletedMailFolder::Publish(StagedFile& file, const std::u16string& subject, std::u16string& name,
                                platform::OsError& error) {
  bool failed = false;  // for a reason another name would meet as well
  const auto attempt = [&](const std::u16string& candidate) {
    name = candidate;
    switch (file.Publish(candidate, error)) {
      case platform::CreateResult::Created:
        return NameAttempt::Used;
      case platform::CreateResult::Exists:
        return NameAttempt::Taken;
      case platform::CreateResult::NameRefused:
        break;
      case platform::CreateResult::Failed:
        failed = true;
        break;
    }
    return NameAttempt::Failed;
  };
  const std::u16string subjectText = FileNameText(subject);
  // A name the system refuses, or one too long, leaves the working name, as the rename pass does.
  std::optional<std::u16string> used =
      IsRefusedNameText(subjectText) ? std::nullopt : UseFreeName(subjectText, suffixes_, attempt);
  if (!used && !failed) used = UseFreeName(u"Recover" + DecimalText(written_ + 1), suffixes_, attempt);
  return used.has_value();
}

std::optional<FreedWriteFailure> DeletedMailFolder::Failure(const std::u16string& name, platform::OsError error,
                                                            const std::u16string& left) const {
  return FreedWriteFailure{name.empty() ? path_ : platform::JoinPath(path_, name), std::move(error),
                           left.empty() ? left : platform::JoinPath(path_, left)};
}

std::optional<FreedWriteFailure> DeletedMailFolder::Write(std::span<const std::uint8_t> bytes, const DeletedMailRow& row,
                                                          std::vector<std::u16string>& files, DeletedMailFile& written) {
  if (!report_) {
    if (auto failure = Open(files)) return failure;
  }
  const HeaderInfo header = AnalyseHeaderBytes(bytes);
  const std::optional<MailDate> date = DateTextToDate(header.ReceivedDate);
  StagedFile file(*folder_, workingNumber_);
  std::u16string name;
  platform::OsError error;
  if (!file.Append(bytes, error) || !file.Close(error, date ? DateToFileTime(*date) : 0) ||
      !Publish(file, header.Subject, name, error))
    return Failure(name, std::move(error), file.Discard());
  // A row the disk cut short is cut off, and its file goes with it: the report lists exactly the files
  // that stay, and no row ends mid-field.
  const std::string text = row(name);
  if (!report_->Write(AsBytes(text), error)) {
    static_cast<void>(report_->TruncateTo(reportBytes_));
    platform::OsError ignored;
    return Failure(name, std::move(error), folder_->Remove(name, ignored) ? std::u16string() : name);
  }
  reportBytes_ += static_cast<std::int64_t>(text.size());
  files.push_back(platform::JoinPath(path_, name));
  ++written_;
  written = {name, header.Subject, date, header.Sender};
  return std::nullopt;
}

std::optional<FreedWriteFailure> DeletedMailFolder::Close() {
  platform::OsError error;
  if (!report_ || report_->Close(error)) return std::nullopt;
  return FreedWriteFailure{platform::JoinPath(path_, kFreedReportName), error, {}};
}
