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
  // The new file, under the subject's name or else the working name; its name goes to name.
  std::optional<platform::OutputFile> CreateMessageFile(const HeaderInfo& header, std::int32_t number,
                                                        std::u16string& name, platform::OsError& error);

  const std::u16string path_;
  const platform::WriteFaultPlan faults_;
  std::optional<platform::OutputFolder> folder_;
  std::optional<platform::OutputFile> report_;
  ClashSuffixes suffixes_;
};

std::optional<FreedWriteFailure> FreedFolder::Open(std::vector<std::u16string>& files) {
  platform::OsError error;
  if (!platform::CreateFolder(path_, error) && !platform::PathExists(path_)) return FreedWriteFailure{path_, error};
  folder_ = platform::OutputFolder::Open(path_, error, faults_);
  if (!folder_) return FreedWriteFailure{path_, error};
  const std::u16string path = platform::JoinPath(path_, kFreedReportName);
  platform::NewFile made = folder_->CreateNew(kFreedReportName);
  if (!made.file) return FreedWriteFailure{path, made.error};
  report_ = std::move(made.file);
  files.push_back(path);
  if (!report_->Write(AsBytes(FreedReportHeader()), error)) return FreedWriteFailure{path, error};
  return std::nullopt;
}

std::optional<platform::OutputFile> FreedFolder::CreateMessageFile(const HeaderInfo& header, std::int32_t number,
                                                                   std::u16string& name, platform::OsError& error) {
  std::optional<platform::OutputFile> file;
  bool failed = false;  // for a reason another name would meet as well
  const auto attempt = [&](const std::u16string& candidate) {
    platform::NewFile made = folder_->CreateNew(candidate);
    error = made.error;
    file = std::move(made.file);
    switch (made.result) {
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
  const std::u16string workingText = u"Recover" + DecimalText(number);
  // A name the system refuses, or one too long, leaves the working name, as the rename pass does.
  std::optional<std::u16string> used =
      IsRefusedNameText(subjectText) ? std::nullopt : UseFreeName(subjectText, suffixes_, attempt);
  if (!used && !failed) used = UseFreeName(workingText, suffixes_, attempt);
  name = used.value_or(workingText + u".eml");
  return file;
}

std::optional<FreedWriteFailure> FreedFolder::Write(const FreedMessage& message, std::int32_t number,
                                                    std::vector<std::u16string>& files) {
  if (!report_) {
    if (auto failure = Open(files)) return failure;
  }
  const std::vector<std::uint8_t>& bytes = message.text.Bytes();
  const HeaderInfo header = AnalyseHeaderBytes(bytes);
  std::u16string name;
  platform::OsError error;
  std::optional<platform::OutputFile> file = CreateMessageFile(header, number, name, error);
  const std::u16string path = platform::JoinPath(path_, name);
  if (!file) return FreedWriteFailure{path, error};
  bool written = file->Write(bytes, error);
  if (const std::optional<MailDate> date = DateTextToDate(header.ReceivedDate); written && date) {
    const platform::FileTime time = DateToFileTime(*date);
    // Times the system refuses leave the file undated, as for the other messages.
    if (time != 0) static_cast<void>(file->SetTimes(time, time));
  }
  written = file->Close(error) && written;
  if (!written) {
    // Ours, made a moment ago: a file not written whole does not stay, nor is it listed.
    platform::RemoveFile(path);
    return FreedWriteFailure{path, error};
  }
  files.push_back(path);
  if (!report_->Write(AsBytes(FreedReportRow(name, message)), error))
    return FreedWriteFailure{platform::JoinPath(path_, kFreedReportName), error};
  return std::nullopt;
}

std::optional<FreedWriteFailure> FreedFolder::Close() {
  platform::OsError error;
  if (!report_ || report_->Close(error)) return std::nullopt;
  return FreedWriteFailure{platform::JoinPath(path_, kFreedReportName), error};
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
      if (result.failure) break;
      ++result.written;
    }
    progress(++done, total);
  }
  std::optional<FreedWriteFailure> closed = folder.Close();
  if (!result.failure) result.failure = std::move(closed);
  return result;
}
