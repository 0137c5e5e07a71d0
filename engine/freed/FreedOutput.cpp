#include "engine/freed/FreedOutput.h"

#include <span>
#include <utility>

#include "engine/freed/FreedMessage.h"
#include "engine/freed/FreedRecoveryText.h"
#include "engine/freed/FreedReport.h"
#include "engine/naming/DateText.h"
#include "engine/naming/DecimalText.h"
#include "engine/naming/FileNaming.h"
#include "engine/naming/MailFileTime.h"
#include "engine/writing/StagedFile.h"
#include "mailinfo/MailInfo.h"
#include "platform/OutputFolder.h"
#include "platform/Paths.h"

namespace {

std::span<const std::uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The subfolder, made with its report when the first message is to be written.
class FreedFolder {
 public:
  FreedFolder(const std::u16string& runFolder, platform::WriteFaultPlan faults)
      : path_(platform::JoinPath(runFolder, kFreedFolderName)), faults_(std::move(faults)) {}

  // Writes the message as the number-th freed file; the failure that stopped it, if any. The paths of
  // the files made go to files.
  std::optional<FreedWriteFailure> Write(const FreedMessage& message, std::int32_t number,
                                         std::vector<std::u16string>& files);
  // Closes the report, if one was made; the failure, if its last bytes could not be written.
  std::optional<FreedWriteFailure> Close();

 private:
  std::optional<FreedWriteFailure> Open(std::vector<std::u16string>& files);
  // Gives the written file the subject's name or else "RecoverN.eml", with the first free clash suffix;
  // the name last tried goes to name.
  bool Publish(StagedFile& file, const HeaderInfo& header, std::int32_t number, std::u16string& name,
               platform::OsError& error);
  // The failure of the file name (the folder when it has none yet), with the file left behind, if any.
  std::optional<FreedWriteFailure> Failure(const std::u16string& name, platform::OsError error,
                                           const std::u16string& left) const;

  const std::u16string path_;
  const platform::WriteFaultPlan faults_;
  std::optional<platform::OutputFolder> folder_;
  std::optional<platform::OutputFile> report_;
  std::int64_t reportBytes_ = 0;  // its rows written whole
  ClashSuffixes suffixes_;
  std::int32_t workingNumber_ = 1;
};

std::optional<FreedWriteFailure> FreedFolder::Open(std::vector<std::u16string>& files) {
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

bool FreedFolder::Publish(StagedFile& file, const HeaderInfo& header, std::int32_t number, std::u16string& name,
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
  const std::u16string subjectText = FileNameText(header.Subject);
  // A name the system refuses, or one too long, leaves the working name, as the rename pass does.
  std::optional<std::u16string> used =
      IsRefusedNameText(subjectText) ? std::nullopt : UseFreeName(subjectText, suffixes_, attempt);
  if (!used && !failed) used = UseFreeName(u"Recover" + DecimalText(number), suffixes_, attempt);
  return used.has_value();
}

std::optional<FreedWriteFailure> FreedFolder::Failure(const std::u16string& name, platform::OsError error,
                                                      const std::u16string& left) const {
  return FreedWriteFailure{name.empty() ? path_ : platform::JoinPath(path_, name), std::move(error),
                           left.empty() ? left : platform::JoinPath(path_, left)};
}

std::optional<FreedWriteFailure> FreedFolder::Write(const FreedMessage& message, std::int32_t number,
                                                    std::vector<std::u16string>& files) {
  if (!report_) {
    if (auto failure = Open(files)) return failure;
  }
  const std::vector<std::uint8_t>& bytes = message.text.Bytes();
  const HeaderInfo header = AnalyseHeaderBytes(bytes);
  const std::optional<MailDate> date = DateTextToDate(header.ReceivedDate);
  StagedFile file(*folder_, workingNumber_);
  std::u16string name;
  platform::OsError error;
  if (!file.Append(bytes, error) || !file.Close(error, date ? DateToFileTime(*date) : 0) ||
      !Publish(file, header, number, name, error))
    return Failure(name, std::move(error), file.Discard());
  // A row the disk cut short is cut off, and its file goes with it: the report lists exactly the files
  // that stay, and no row ends mid-field.
  const std::string row = FreedReportRow(name, message);
  if (!report_->Write(AsBytes(row), error)) {
    static_cast<void>(report_->TruncateTo(reportBytes_));
    platform::OsError ignored;
    return Failure(name, std::move(error), folder_->Remove(name, ignored) ? std::u16string() : name);
  }
  reportBytes_ += static_cast<std::int64_t>(row.size());
  files.push_back(platform::JoinPath(path_, name));
  return std::nullopt;
}

std::optional<FreedWriteFailure> FreedFolder::Close() {
  platform::OsError error;
  if (!report_ || report_->Close(error)) return std::nullopt;
  return FreedWriteFailure{platform::JoinPath(path_, kFreedReportName), error, {}};
}

}  // namespace

FreedOutputResult WriteFreedMessages(FreedChains chains, BlockSource& blocks,
                                     const std::u16string& runFolder, const std::atomic<bool>& stop,
                                     const FreedProgress& progress, const platform::WriteFaultPlan& faults) {
  FreedOutputResult result;
  FreedFolder folder(runFolder, faults);
  const std::size_t total = chains.Count();
  std::size_t done = 0;
  for (std::optional<FreedChain> chain; !stop && (chain = chains.Next());) {
    if (const std::optional<FreedMessage> message = ReadFreedMessage(chains, *chain, blocks)) {
      result.failure = folder.Write(*message, result.written + 1, result.files);
      if (result.failure) {
        ++result.unwritten;
        break;
      }
      ++result.written;
    }
    progress(++done, total);
  }
  result.unwritten += CountFreedMessages(chains, blocks);
  std::optional<FreedWriteFailure> closed = folder.Close();
  if (!result.failure) result.failure = std::move(closed);
  return result;
}
