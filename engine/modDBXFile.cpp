#include "engine/modDBXFile.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "engine/BlockScan.h"
#include "engine/DuplicateRemoval.h"
#include "engine/FileBlockSource.h"
#include "engine/FreedPhase.h"
#include "engine/RecoveryText.h"
#include "engine/StatusPhases.h"
#include "engine/StoreSignature.h"
#include "engine/Texts.h"
#include "engine/UsedBlocks.h"
#include "engine/WritePhase.h"
#include "engine/modCommon.h"
#include "mailinfo/modMailInfo.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/FileTimes.h"
#include "platform/OutputFolder.h"

std::vector<MailRecord> MailRecords(1);
std::atomic<bool> SkipPointerCheck{false};
std::atomic<bool> RecoverFreed{true};
std::atomic<bool> StopRequested{false};
std::atomic<bool> QuitRequested{false};
std::atomic<bool> HaltRequested{false};

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

// The files the run leaves: the messages' and the freed messages'.
void ForEachWrittenFile(const std::u16string& folder, const std::vector<std::u16string>& freedFiles,
                        const platform::FileVisitor& visit) {
  for (std::size_t i = 1; i < MailRecords.size(); ++i)
    if (!MailRecords[i].FileName.empty()) visit(JoinPath(folder, MailRecords[i].FileName));
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

// The messages whose files were made.
std::int32_t WrittenCount() {
  std::int32_t count = 0;
  for (std::size_t i = 1; i < MailRecords.size(); ++i)
    if (!MailRecords[i].FileName.empty()) ++count;
  return count;
}

// The kept messages cut short, which the report mentions.
std::int32_t CutShortCount() {
  std::int32_t count = 0;
  for (std::size_t i = 1; i < MailRecords.size(); ++i)
    if (MailRecords[i].Status == MailRecord::kCutShort) ++count;
  return count;
}

void ShowWriteFailure(RecoveryUi& ui, const std::u16string& path, const platform::OsError& error) {
  ui.ShowMessage(
      {Text(TextId::WriteFailed, ui.TextLanguage(), {path, error.text}), MessageIcon::Exclamation, MessageButtons::Ok, {}});
}

// The extraction phase: records where each message the scan assembles begins, how long it is and
// whether its chain was cut short, and writes nothing; the files come once every name is decided.
class Planning final : public ScanHost {
 public:
  Planning(RecoveryUi& ui, std::int64_t length, std::vector<MailRecord>& records, const std::atomic<bool>& stop)
      : ui_(ui), length_(length), records_(records), stop_(stop) {}

  std::int32_t Count() const { return count_; }

  bool BeginMessage() override {
    messageLength_ = 0;
    return true;
  }

  bool AppendMessageBytes(std::span<const std::uint8_t> bytes) override {
    messageLength_ += static_cast<std::int64_t>(bytes.size());
    return true;
  }

  bool EndMessage(std::int64_t startBlock, bool cutShort) override {
    ++count_;
    records_.push_back(
        MailRecord{{}, startBlock, messageLength_, cutShort ? MailRecord::kCutShort : MailRecord::kExtracted});
    ui_.SetCaption(StatusControl::lblStatus, Text(TextId::ExtractedCount, ui_.TextLanguage(), {DecimalText(count_)}));
    ui_.PumpEvents();
    return !stop_;
  }

  bool WindowAdvanced(std::int64_t position) override {
    ShowPercent(ui_, position > length_ ? 100 : RoundPercent(static_cast<double>(position), static_cast<double>(length_)));
    ui_.PumpEvents();
    return !stop_;
  }

  void Pump() override { ui_.PumpEvents(); }

 private:
  RecoveryUi& ui_;
  const std::int64_t length_;
  std::vector<MailRecord>& records_;
  const std::atomic<bool>& stop_;
  std::int32_t count_ = 0;
  std::int64_t messageLength_ = 0;
};

struct ExtractionResult {
  std::int32_t count = 0;
  ScanFindings findings;
  bool missingSignature = false;
};

// Scans the store and plans every message found; freed, when given, collects the freed blocks.
ExtractionResult PlanMessages(const platform::StoreFile& store, std::int64_t length, UsedBlockList& used,
                              RecoveryUi& ui, FreedBlocks* freed) {
  Planning planning(ui, length, MailRecords, StopRequested);
  StoreReader reader(store, length);
  const ScanFindings findings = ScanStore(reader, SkipPointerCheck, used, planning, freed);
  return {planning.Count(), findings, !HasStoreSignature(store)};
}

// Writes the planned messages into the folder; a folder that cannot be opened fails as a write does.
WritePhaseResult WritePlannedMessages(const platform::StoreFile& store, std::int64_t length,
                                      const std::u16string& folder, RecoveryUi& ui) {
  platform::OsError error;
  const std::optional<platform::OutputFolder> opened = platform::OutputFolder::Open(folder, error);
  WritePhaseResult result;
  if (opened)
    result = WriteMessages(MailRecords, store, length, WriteTarget{*opened, folder}, HaltRequested, ui);
  else
    result.failure = MessageWriteFailure{folder, error};
  if (result.failure) ShowWriteFailure(ui, result.failure->path, result.failure->error);
  return result;
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
  HaltRequested = false;
  ui.SetBusyPointer(true);
  platform::ReadTimeZoneOnce();
  MailRecords.assign(1, MailRecord{});
  UsedBlockList used;
  FileBlockSource blocks(*store);
  std::optional<FreedBlocks> freed;
  if (RecoverFreed) freed.emplace(!SkipPointerCheck, blocks);
  const std::int64_t length = ScanLength(store->Length());
  const ExtractionResult extracted = PlanMessages(*store, length, used, ui, freed ? &*freed : nullptr);
  ShowDuplicateRemovalPhase(ui);
  const std::int32_t remaining = RemoveDuplicates(MailRecords, used, extracted.count, ui);
  ShowRenamingPhase(ui);
  const WritePhaseResult written = WritePlannedMessages(*store, length, *folder, ui);
  // What the scan found is written, stop or not; only a second interrupt leaves the rest.
  FreedOutputResult freedWritten;
  if (freed && !written.failure && !HaltRequested)
    freedWritten = WriteFreedPhase(freed->Candidates(), blocks, store->Length(), *folder, HaltRequested, ui);
  platform::FlushToDisk(*folder, [&](const platform::FileVisitor& visit) {
    ForEachWrittenFile(*folder, freedWritten.files, visit);
  });
  ShowEndPhase(ui);

  RecoveryOutcome outcome;
  const bool writeFailed = written.failure.has_value() || freedWritten.failure.has_value();
  outcome.result = writeFailed                        ? RecoveryResult::WriteFailed
                   : StopRequested || HaltRequested ? RecoveryResult::Stopped
                                                      : RecoveryResult::Completed;
  // Messages a halt or a failed write left unwritten are not reported as found.
  outcome.messageCount = HaltRequested || written.failure ? WrittenCount() : remaining;
  outcome.freedCount = freedWritten.written;
  outcome.stopped = outcome.result != RecoveryResult::Completed;
  outcome.pointerCheckRejects = extracted.findings.pointerCheckRejects;
  outcome.missingSignature = extracted.missingSignature;
  outcome.cutShortCount = CutShortCount();
  // A run that wrote nothing leaves nothing behind.
  if (written.written > 0 || freedWritten.written > 0 || !platform::RemoveFolder(*folder))
    outcome.outputFolder = *folder;
  if (!QuitRequested) Report(ui, outcome);
  return outcome;
}
