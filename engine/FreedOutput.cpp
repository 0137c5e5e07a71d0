#include "engine/FreedOutput.h"

#include <span>

#include "engine/FileNaming.h"
#include "engine/FreedMessage.h"
#include "engine/FreedRecoveryText.h"
#include "engine/FreedReport.h"
#include "engine/RecoveryText.h"
#include "engine/modCommon.h"
#include "engine/modTimeStamp.h"
#include "mailinfo/modMailInfo.h"

namespace {

std::span<const std::uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The subfolder, made with its report when the first message is to be written.
class FreedFolder {
 public:
  explicit FreedFolder(const std::u16string& runFolder) : folder_(JoinPath(runFolder, kFreedFolderName)) {}

  // Writes the message as the number-th freed file; the failure that stopped it, if any. The paths of
  // the files made go to files.
  std::optional<FreedWriteFailure> Write(const FreedMessage& message, std::int32_t number,
                                         std::vector<std::u16string>& files);

 private:
  std::optional<FreedWriteFailure> Open(std::vector<std::u16string>& files);
  // The new file, under the subject's name or else the working name; its name goes to name.
  std::optional<platform::OutputFile> CreateMessageFile(const HeaderInfo& header, std::int32_t number,
                                                        std::u16string& name, platform::OsError& error);

  const std::u16string folder_;
  std::optional<platform::OutputFile> report_;
  ClashSuffixes suffixes_;
};

std::optional<FreedWriteFailure> FreedFolder::Open(std::vector<std::u16string>& files) {
  platform::OsError error;
  if (!platform::CreateFolder(folder_, error) && !platform::PathExists(folder_))
    return FreedWriteFailure{folder_, error};
  const std::u16string path = JoinPath(folder_, kFreedReportName);
  report_ = platform::OutputFile::CreateNew(path, error);
  if (report_) files.push_back(path);
  if (!report_ || !report_->Write(AsBytes(FreedReportHeader()), error)) return FreedWriteFailure{path, error};
  return std::nullopt;
}

std::optional<platform::OutputFile> FreedFolder::CreateMessageFile(const HeaderInfo& header, std::int32_t number,
                                                                   std::u16string& name, platform::OsError& error) {
  std::optional<platform::OutputFile> file;
  const auto attempt = [&](const std::u16string& candidate) {
    file = platform::OutputFile::CreateNew(JoinPath(folder_, candidate), error);
    if (file) return NameAttempt::Used;
    return platform::AlreadyExists(error) ? NameAttempt::Taken : NameAttempt::Failed;
  };
  const std::u16string subjectText = FileNameText(header.Subject);
  const std::u16string workingText = u"Recover" + DecimalText(number);
  // A name the system refuses, or one too long, leaves the working name, as the rename pass does.
  const std::optional<std::u16string> used =
      IsRefusedNameText(subjectText) ? std::nullopt : UseFreeName(subjectText, suffixes_, attempt);
  name = used ? *used : UseFreeName(workingText, suffixes_, attempt).value_or(workingText + u".eml");
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
  const std::u16string path = JoinPath(folder_, name);
  if (file) files.push_back(path);
  if (!file || !file->Write(bytes, error) || !file->Close(error)) return FreedWriteFailure{path, error};
  if (const std::optional<MailDate> date = DateTextToDate(header.ReceivedDate))
    SetCreationAndLastWriteTime(path, *date);
  if (!report_->Write(AsBytes(FreedReportRow(name, message)), error))
    return FreedWriteFailure{JoinPath(folder_, kFreedReportName), error};
  return std::nullopt;
}

}  // namespace

FreedOutputResult WriteFreedMessages(const std::vector<FreedChain>& chains, BlockSource& blocks,
                                     const std::u16string& runFolder, const std::atomic<bool>& stop,
                                     const FreedProgress& progress) {
  FreedOutputResult result;
  FreedFolder folder(runFolder);
  for (std::size_t i = 0; i < chains.size() && !stop; ++i) {
    if (const std::optional<FreedMessage> message = ReadFreedMessage(chains[i], blocks)) {
      result.failure = folder.Write(*message, result.written + 1, result.files);
      if (result.failure) break;
      ++result.written;
    }
    progress(i + 1, chains.size());
  }
  return result;
}
