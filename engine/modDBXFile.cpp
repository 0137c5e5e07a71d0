#include "engine/modDBXFile.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "engine/BlockScan.h"
#include "engine/DuplicateRemoval.h"
#include "engine/FileBlockSource.h"
#include "engine/FreedPhase.h"
#include "engine/RenamePass.h"
#include "engine/RecoveryText.h"
#include "engine/StatusPhases.h"
#include "engine/StoreSignature.h"
#include "engine/Texts.h"
#include "engine/UsedBlocks.h"
#include "engine/WorkingFile.h"
#include "engine/modCommon.h"
#include "mailinfo/modMailInfo.h"
#include "platform/Clock.h"
#include "platform/Files.h"

std::vector<MailRecord> MailRecords(1);
std::atomic<bool> SkipPointerCheck{false};
std::atomic<bool> RecoverFreed{true};
std::atomic<bool> StopRequested{false};
std::atomic<bool> QuitRequested{false};

namespace {

std::u16string Digits(std::int64_t value, int width) {
  std::u16string text = DecimalText(value);
  while (static_cast<int>(text.size()) < width) text.insert(text.begin(), u'0');
  return text;
}

std::u16string Timestamp(const platform::LocalDateTime& t) {
  return Digits(t.year, 4) + Digits(t.month, 2) + Digits(t.day, 2) + Digits(t.hour, 2) + Digits(t.minute, 2) +
         Digits(t.second, 2);
}

std::optional<platform::StoreFile> OpenStore(const std::u16string& dbxPath, RecoveryUi& ui) {
  if (platform::KindOfPath(dbxPath) == platform::PathKind::NotRegularFile) {
    ui.ShowMessage({Text(TextId::NotRegularFile, ui.TextLanguage(), {dbxPath}), MessageIcon::Exclamation,
                    MessageButtons::Ok, {}});
    return std::nullopt;
  }
  platform::OsError error;
  auto store = platform::StoreFile::Open(dbxPath, error);
  if (!store)
    ui.ShowMessage({Text(TextId::StoreOpenFailed, ui.TextLanguage()) + u"\r\n" + dbxPath, MessageIcon::Exclamation,
                    MessageButtons::Ok, error.text});
  return store;
}

}  // namespace

// A run never writes into a folder that already existed, even when two runs start within the same second.
std::optional<std::u16string> CreateOutputFolder(const std::u16string& parent, RecoveryUi& ui) {
  constexpr int kMaxSuffix = 9999;
  const std::u16string base = JoinPath(parent, kOutputFolderPrefix + Timestamp(platform::LocalNow()));
  platform::OsError error;
  std::u16string folder = base;
  for (int k = 0; k <= kMaxSuffix; ++k) {
    folder = k == 0 ? base : base + u"(" + DecimalText(k) + u")";
    if (platform::CreateFolder(folder, error)) return folder;
    if (!platform::PathExists(folder)) break;
  }
  ui.ShowMessage({Text(TextId::FolderCreateFailed, ui.TextLanguage()) + u"\r\n" + folder, MessageIcon::Critical,
                  MessageButtons::Ok, error.text});
  return std::nullopt;
}

namespace {

std::optional<std::u16string> CreateExactFolder(const std::u16string& folder, RecoveryUi& ui) {
  platform::OsError error;
  if (platform::CreateFolder(folder, error)) return folder;
  ui.ShowMessage({Text(TextId::FolderCreateFailed, ui.TextLanguage()) + u"\r\n" + folder, MessageIcon::Critical,
                  MessageButtons::Ok, error.text});
  return std::nullopt;
}

// The files the run leaves, under the names they now have, and the freed messages' files.
void ForEachRemainingFile(const std::vector<std::u16string>& freedFiles, const platform::FileVisitor& visit) {
  for (std::size_t i = 1; i < MailRecords.size(); ++i) {
    const MailRecord& record = MailRecords[i];
    if (record.Status != MailRecord::kRemoved) visit(record.FinalPath.empty() ? record.FilePath : record.FinalPath);
  }
  for (const std::u16string& path : freedFiles) visit(path);
}

void Report(RecoveryUi& ui, const RecoveryOutcome& outcome) {
  const std::u16string text = ReportText(outcome, ui.TextLanguage(), true);
  if (!FoundAny(outcome)) {
    ui.ShowMessage({text, MessageIcon::Information, MessageButtons::Ok, {}});
    return;
  }
  if (ui.ShowMessage({text, MessageIcon::Question, MessageButtons::YesNo, {}}) == MessageAnswer::Yes)
    ui.OpenFolder(outcome.outputFolder);
}

RecoveryOutcome Failed(RecoveryResult result) {
  RecoveryOutcome outcome;
  outcome.result = result;
  return outcome;
}

// What the records tell the report: the kept messages cut short, and whether any kept its working
// name because the rename pass never reached it.
void CountRecords(RecoveryOutcome& outcome) {
  for (std::size_t i = 1; i < MailRecords.size(); ++i) {
    const MailRecord& record = MailRecords[i];
    if (record.Status == MailRecord::kCutShort) ++outcome.cutShortCount;
    if (record.Status != MailRecord::kRemoved && record.FinalPath.empty()) outcome.leftUnrenamed = outcome.stopped;
  }
}

// The extraction phase: writes each message the scan assembles into "Recover" + N + ".eml" and
// appends its record. A working file that cannot be written ends the scan; what is written stays.
class Extraction final : public ScanHost {
 public:
  Extraction(RecoveryUi& ui, std::u16string folder, std::int64_t length, std::vector<MailRecord>& records,
             WrittenHeaders& headers, const std::atomic<bool>& stop)
      : ui_(ui), folder_(std::move(folder)), length_(length), records_(records), headers_(headers), stop_(stop) {}

  std::int32_t Count() const { return count_; }
  bool WriteFailed() const { return writeFailed_; }

  bool BeginMessage() override {
    const std::u16string path = JoinPath(folder_, u"Recover" + DecimalText(std::int64_t{count_} + 1) + u".eml");
    platform::OsError error;
    file_ = WorkingFile::Create(path, error);
    if (!file_) {
      Fail(path, error);
      return false;
    }
    ++count_;
    head_.clear();
    return true;
  }

  bool AppendMessageBytes(std::span<const std::uint8_t> bytes) override {
    const std::size_t take = std::min(bytes.size(), kHeaderPieceSize - head_.size());
    head_.insert(head_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
    platform::OsError error;
    if (file_->Append(bytes, error)) return true;
    Fail(file_->Path(), error);
    return false;
  }

  bool EndMessage(std::int64_t startBlock, bool cutShort) override {
    platform::OsError error;
    const std::u16string path = file_->Path();
    if (!file_->Close(error) && !writeFailed_) Fail(path, error);
    file_.reset();
    const std::int32_t status = cutShort || writeFailed_ ? MailRecord::kCutShort : MailRecord::kExtracted;
    records_.push_back(MailRecord{path, startBlock, status, {}, {}, {}});
    // A header part that ends early is taken from the bytes as they went out, so the rename pass need
    // not read the file again. The file is read instead for a longer one (tail pieces of messages,
    // which duplicate removal mostly deletes unread, have none) and after a failed write, when the
    // file may hold less.
    headers_.push_back(writeFailed_ ? std::nullopt : AnalyseHeaderPiece(head_));
    ui_.SetCaption(StatusControl::lblStatus, Text(TextId::ExtractedCount, ui_.TextLanguage(), {DecimalText(count_)}));
    ui_.PumpEvents();
    return !writeFailed_ && !stop_;
  }

  bool WindowAdvanced(std::int64_t position) override {
    ShowPercent(ui_, position > length_ ? 100 : RoundPercent(static_cast<double>(position), static_cast<double>(length_)));
    ui_.PumpEvents();
    return !stop_;
  }

  void Pump() override { ui_.PumpEvents(); }

 private:
  void Fail(const std::u16string& path, const platform::OsError& error) {
    writeFailed_ = true;
    ui_.ShowMessage(
        {Text(TextId::WriteFailed, ui_.TextLanguage(), {path, error.text}), MessageIcon::Exclamation, MessageButtons::Ok, {}});
  }

  RecoveryUi& ui_;
  const std::u16string folder_;
  const std::int64_t length_;
  std::vector<MailRecord>& records_;
  WrittenHeaders& headers_;
  const std::atomic<bool>& stop_;
  std::int32_t count_ = 0;
  bool writeFailed_ = false;
  std::optional<WorkingFile> file_;
  std::vector<std::uint8_t> head_;  // the first kHeaderPieceSize bytes of the message being written
};

struct ExtractionResult {
  std::int32_t count = 0;
  bool writeFailed = false;
  ScanFindings findings;
  bool missingSignature = false;
};

// Scans the store and writes every message found; freed, when given, collects the freed blocks.
ExtractionResult ExtractMessages(const platform::StoreFile& store, const std::u16string& folder, UsedBlockList& used,
                                 WrittenHeaders& headers, RecoveryUi& ui, FreedBlocks* freed) {
  const std::int64_t length = ScanLength(store.Length());
  Extraction extraction(ui, folder, length, MailRecords, headers, StopRequested);
  StoreReader reader(store, length);
  const ScanFindings findings = ScanStore(reader, SkipPointerCheck, used, extraction, freed);
  return {extraction.Count(), extraction.WriteFailed(), findings, !HasStoreSignature(store)};
}

}  // namespace

RecoveryOutcome RecoverMails(const std::u16string& dbxPath, RecoveryUi& ui,
                             const std::optional<std::u16string>& exactFolder) {
  std::optional<platform::StoreFile> store = OpenStore(dbxPath, ui);
  if (!store) return Failed(RecoveryResult::StoreOpenFailed);
  const std::optional<std::u16string> folder =
      exactFolder ? CreateExactFolder(*exactFolder, ui) : CreateOutputFolder(ui.OutputParentFolder(), ui);
  if (!folder) return Failed(RecoveryResult::FolderCreateFailed);

  ShowExtractionPhase(ui);
  StopRequested = false;
  ui.SetBusyPointer(true);
  MailRecords.assign(1, MailRecord{});
  UsedBlockList used;
  WrittenHeaders headers(1);
  FileBlockSource blocks(*store);
  std::optional<FreedBlocks> freed;
  if (RecoverFreed) freed.emplace(!SkipPointerCheck, blocks);
  const ExtractionResult extracted = ExtractMessages(*store, *folder, used, headers, ui, freed ? &*freed : nullptr);
  ShowDuplicateRemovalPhase(ui);
  const std::int32_t remaining = RemoveDuplicates(MailRecords, used, extracted.count, ui);
  ShowRenamingPhase(ui);
  // A failed write ends the run as a stop does: the files keep their working names.
  if (!extracted.writeFailed) RenameMessages(MailRecords, *folder, headers, StopRequested, ui);
  FreedOutputResult freedWritten;
  if (freed && !extracted.writeFailed && !StopRequested)
    freedWritten = WriteFreedPhase(freed->Candidates(), blocks, store->Length(), *folder, StopRequested, ui);
  platform::FlushToDisk(*folder, [&freedWritten](const platform::FileVisitor& visit) {
    ForEachRemainingFile(freedWritten.files, visit);
  });
  ShowEndPhase(ui);

  RecoveryOutcome outcome;
  const bool writeFailed = extracted.writeFailed || freedWritten.failure.has_value();
  outcome.result = writeFailed     ? RecoveryResult::WriteFailed
                   : StopRequested ? RecoveryResult::Stopped
                                   : RecoveryResult::Completed;
  outcome.messageCount = remaining;
  outcome.freedCount = freedWritten.written;
  outcome.stopped = outcome.result != RecoveryResult::Completed;
  outcome.pointerCheckRejects = extracted.findings.pointerCheckRejects;
  outcome.missingSignature = extracted.missingSignature;
  CountRecords(outcome);
  // A run that wrote nothing leaves nothing behind.
  if (extracted.count > 0 || freedWritten.written > 0 || !platform::RemoveFolder(*folder))
    outcome.outputFolder = *folder;
  if (!QuitRequested) Report(ui, outcome);
  return outcome;
}
