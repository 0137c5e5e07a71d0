#include "engine/RecoveryRun.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/DeletedPhase.h"
#include "engine/DuplicateRemoval.h"
#include "engine/FreedPhase.h"
#include "engine/IndexPhase.h"
#include "engine/RunListPhase.h"
#include "engine/StatusPhases.h"
#include "engine/StoreNames.h"
#include "engine/Texts.h"
#include "engine/naming/DecimalText.h"
#include "engine/scan/BlockScan.h"
#include "engine/scan/FileBlockSource.h"
#include "engine/scan/StoreSignature.h"
#include "engine/scan/UsedBlocks.h"
#include "engine/writing/WritePhase.h"
#include "mailinfo/MailInfo.h"
#include "platform/Clock.h"
#include "platform/FileTimes.h"
#include "platform/Files.h"
#include "platform/FolderListing.h"
#include "platform/OutputFolder.h"
#include "platform/Paths.h"

namespace {

// The output folder's name before its date and time; it names files, so it is the same in every language.
const std::u16string kOutputFolderPrefix = u"メール復元";

std::u16string Digits(std::int64_t value, int width) {
  std::u16string text = DecimalText(value);
  while (static_cast<int>(text.size()) < width) text.insert(text.begin(), u'0');
  return text;
}

std::u16string Timestamp(const platform::LocalDateTime& t) {
  return Digits(t.year, 4) + Digits(t.month, 2) + Digits(t.day, 2) + Digits(t.hour, 2) + Digits(t.minute, 2) +
         Digits(t.second, 2);
}

std::optional<platform::StoreFile> OpenStore(const std::u16string& dbxPath, const RunOptions& options, RecoveryUi& ui) {
  if (platform::KindOfPath(dbxPath) == platform::PathKind::NotRegularFile) {
    ui.ShowMessage({Text(TextId::NotRegularFile, ui.TextLanguage(), {dbxPath}), MessageIcon::Exclamation,
                    MessageButtons::Ok, {}});
    return std::nullopt;
  }
  platform::OsError error;
  auto store = platform::StoreFile::Open(dbxPath, error, options.UnreadableRanges);
  if (!store)
    ui.ShowMessage({Text(TextId::StoreOpenFailed, ui.TextLanguage()) + u"\r\n" + dbxPath, MessageIcon::Exclamation,
                    MessageButtons::Ok, error.text});
  return store;
}

}  // namespace

// A run never writes into a folder that already existed, even when two runs start within the same second.
std::optional<std::u16string> CreateOutputFolder(const std::u16string& parent, RecoveryUi& ui) {
  constexpr int kMaxSuffix = 9999;
  const std::u16string base = platform::JoinPath(parent, kOutputFolderPrefix + Timestamp(platform::LocalNow()));
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

// The folder with those above it that are missing. One that exists is a batch's: made for a store whose
// folder nests in it, as Folders.dbx nests them.
bool MakeFolderLevels(const std::u16string& folder, platform::OsError& error) {
  if (platform::IsFolder(folder)) return true;
  const std::size_t parentLength = folder.size() - FileNameOf(folder).size();
  if (parentLength > 1 && !MakeFolderLevels(folder.substr(0, parentLength - 1), error)) return false;
  return platform::CreateFolder(folder, error);
}

std::optional<std::u16string> CreateExactFolder(const std::u16string& folder, RecoveryUi& ui) {
  platform::OsError error;
  if (MakeFolderLevels(folder, error)) return folder;
  ui.ShowMessage({Text(TextId::FolderCreateFailed, ui.TextLanguage()) + u"\r\n" + folder, MessageIcon::Critical,
                  MessageButtons::Ok, error.text});
  return std::nullopt;
}

// The files the run leaves: the listed messages', then the others, the deleted-mail folder's and the list.
void ForEachWrittenFile(const std::vector<MailRecord>& records, const std::u16string& folder,
                        const std::vector<const std::vector<std::u16string>*>& others, const platform::FileVisitor& visit) {
  for (std::size_t i = 1; i < records.size(); ++i)
    if (!records[i].FileName.empty() && !records[i].Deleted) visit(platform::JoinPath(folder, records[i].FileName));
  for (const std::vector<std::u16string>* files : others)
    for (const std::u16string& path : *files) visit(path);
}

// A single store's list, when it has one and there is something in it; false when it could not be
// written, after telling ui. Its path goes to files.
bool FinishStoreList(std::optional<RunListWriter>& list, RecoveryUi& ui, std::vector<std::u16string>& files) {
  if (!list || !list->HasRows()) return true;
  std::u16string path;
  platform::OsError error;
  if (list->Finish(path, error)) {
    files.push_back(path);
    return true;
  }
  ui.ShowMessage({WriteFailureText(path, error.text, {}, ui.TextLanguage()), MessageIcon::Exclamation,
                  MessageButtons::Ok, {}});
  return false;
}

void ShowFreedFailure(RecoveryUi& ui, const FreedWriteFailure& failure) {
  ui.ShowMessage({WriteFailureText(failure.path, failure.error.text, failure.leftover, ui.TextLanguage()),
                  MessageIcon::Exclamation, MessageButtons::Ok, {}});
}

IndexUse UseOf(const std::optional<StoreIndex>& index) {
  if (!index) return IndexUse::Ignored;
  if (index->Damage == IndexDamage::CountWithoutTree || index->Damage == IndexDamage::NotIndexed) return IndexUse::Absent;
  return index->Whole() ? IndexUse::Whole : IndexUse::NotWhole;
}

void Report(RecoveryUi& ui, const RecoveryOutcome& outcome) {
  const std::u16string text = ReportText(outcome, ui.TextLanguage(), true, ui.OffersResults());
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
std::int32_t WrittenCount(const std::vector<MailRecord>& records) {
  std::int32_t count = 0;
  for (std::size_t i = 1; i < records.size(); ++i)
    if (!records[i].FileName.empty()) ++count;
  return count;
}

// The kept messages cut short, which the report mentions.
std::int32_t CutShortCount(const std::vector<MailRecord>& records) {
  std::int32_t count = 0;
  for (std::size_t i = 1; i < records.size(); ++i)
    if (records[i].Status == MailRecord::kCutShort) ++count;
  return count;
}

void ShowWriteFailure(RecoveryUi& ui, const MessageWriteFailure& failure) {
  ui.ShowMessage({WriteFailureText(failure.path, failure.error.text, failure.leftover, ui.TextLanguage()),
                  MessageIcon::Exclamation, MessageButtons::Ok, {}});
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

// The writing's progress on the status bar, as the user knows it from the rename pass.
class WritingStatus final : public WriteHost {
 public:
  WritingStatus(RecoveryUi& ui, const std::function<void(std::size_t)>& named) : ui_(ui), named_(named) {}
  void Named(std::size_t record) override { named_(record); }
  void ShowProgress(std::size_t passed, std::size_t total, std::int32_t written) override {
    ShowPercent(ui_, RoundPercent(static_cast<double>(passed), static_cast<double>(total)));
    ui_.SetCaption(StatusControl::lblStatus, Text(TextId::RenamedCount, ui_.TextLanguage(), {DecimalText(written)}));
  }
  void Pump() override { ui_.PumpEvents(); }

 private:
  RecoveryUi& ui_;
  const std::function<void(std::size_t)>& named_;
};

struct ExtractionResult {
  std::int32_t count = 0;
  ScanFindings findings;
  bool missingSignature = false;
  bool otherOutlookFile = false;
};

// Scans the store and plans every message found; freed, when given, collects the freed blocks, and
// buffers, when given, hold what the scan reads.
ExtractionResult PlanMessages(RecoveryRun& run, StoreReads& store, std::int64_t length,
                              UsedBlockList& used, RecoveryUi& ui, FreedBlocks* freed, ScanBuffers* buffers) {
  Planning planning(ui, length, run.MailRecords, run.StopRequested);
  StoreReader reader(store, length, run.Options.StartThread, buffers);
  const ScanFindings findings = ScanStore(reader, run.Options.SkipPointerCheck, used, planning, freed);
  return {planning.Count(), findings, !HasStoreSignature(store), IsOtherOutlookFile(store)};
}

// Writes the planned messages into the folder; a folder that cannot be opened fails as a write does.
WritePhaseResult WritePlannedMessages(RecoveryRun& run, StoreReads& store, std::int64_t length,
                                      const std::u16string& folder, RecoveryUi& ui,
                                      SubjectStore* subjects,
                                      const std::function<void(std::size_t)>& named) {
  platform::OsError error;
  const std::optional<platform::OutputFolder> opened = platform::OutputFolder::Open(folder, error, run.Options.WriteFaults);
  WritePhaseResult result;
  WritingStatus status(ui, named);
  if (opened)
    result = WriteMessages(run.MailRecords, store, length, WriteTarget{*opened, folder, subjects}, run.StopRequested, status,
                           run.Options.StartThread);
  else
    result.failure = MessageWriteFailure{folder, error, {}};
  if (result.failure) ShowWriteFailure(ui, *result.failure);
  return result;
}

}  // namespace

RecoveryOutcome RecoverMails(const std::u16string& dbxPath, RecoveryRun& run, RecoveryUi& ui,
                             const std::optional<std::u16string>& exactFolder) {
  const RecoveryOutcome outcome = RecoverStore(dbxPath, run, ui, exactFolder);
  const bool reached = outcome.result != RecoveryResult::StoreOpenFailed &&
                       outcome.result != RecoveryResult::FolderCreateFailed;
  if (reached && !run.QuitRequested) Report(ui, outcome);
  return outcome;
}

RecoveryOutcome RecoverStore(const std::u16string& dbxPath, RecoveryRun& run, RecoveryUi& ui,
                             const std::optional<std::u16string>& exactFolder, ScanBuffers* buffers) {
  std::optional<platform::StoreFile> store = OpenStore(dbxPath, run.Options, ui);
  if (!store) return run.Outcome = Failed(RecoveryResult::StoreOpenFailed);
  const std::optional<std::u16string> folder =
      exactFolder ? CreateExactFolder(*exactFolder, ui) : CreateOutputFolder(ui.OutputParentFolder(), ui);
  if (!folder) return run.Outcome = Failed(RecoveryResult::FolderCreateFailed);

  ShowExtractionPhase(ui);
  run.StopRequested = false;
  run.HaltRequested = false;
  ui.SetBusyPointer(true);
  platform::ReadTimeZoneOnce();
  std::vector<MailRecord>& records = run.MailRecords;
  records.assign(1, MailRecord{});
  UsedBlockList used;
  StoreReads reads(*store, run.StopRequested, [&ui] { ui.PumpEvents(); });
  FileBlockSource blocks(reads);
  std::optional<FreedBlocks> freed;
  if (run.Options.RecoverFreed) freed.emplace(!run.Options.SkipPointerCheck, blocks);
  const std::int64_t length = ScanLength(store->Length());
  std::optional<IndexReading> indexReading;
  if (run.Options.UseIndex) indexReading.emplace(reads, run.Options.StartThread);
  const ExtractionResult extracted = PlanMessages(run, reads, length, used, ui, freed ? &*freed : nullptr, buffers);
  std::optional<StoreIndex> index;
  if (indexReading) index = indexReading->Take();
  // A stop during the scan ends only the scan: what it found is still written, and a stop that comes
  // after it (the Stop button again, closing the window, the next Ctrl-C) ends the writing.
  const bool scanStopped = run.StopRequested;
  run.StopRequested = false;
  ShowDuplicateRemovalPhase(ui);
  const std::int32_t remaining = RemoveDuplicates(records, std::move(used), extracted.count, ui);
  const std::vector<ListedMessage> missing = index ? SeparateDeleted(records, *index) : std::vector<ListedMessage>();
  // A single store's list is written only from a whole index, as its files are; a batch lists every
  // store once any has one, and keeps the rows for that, as for a front end that shows them. Only then
  // are the subjects kept.
  const StoreIndex* wholeIndex = index && index->Whole() ? &*index : nullptr;
  std::optional<RunListWriter> list;
  if (wholeIndex && !exactFolder) list.emplace(*folder, ui.TextLanguage(), run.Options.WriteFaults);
  const bool keepRows = index && (exactFolder || ui.OffersResults());
  const bool listRows = keepRows || list;
  SubjectStore subjects(listRows ? records.size() : 0);
  std::vector<RunListRow> rows;
  const std::function<void(const RunListLine&)> addRow = [&](const RunListLine& line) {
    if (list) list->Add(line);
    if (keepRows) rows.push_back(RowOf(line));
  };
  std::size_t nextListed = 0;
  const std::function<void(std::size_t)> named = [&](std::size_t record) {
    if (!listRows) return;
    const ListedMessage* listed = wholeIndex ? wholeIndex->Find(records[record].StartBlock, nextListed) : nullptr;
    addRow(WrittenFileLine(records[record], subjects.Get(record), listed));
  };
  ShowRenamingPhase(ui);
  const WritePhaseResult written =
      WritePlannedMessages(run, reads, length, *folder, ui, listRows ? &subjects : nullptr, named);
  DeletedMailFolder apart(*folder, run.Options.WriteFaults);
  DeletedPhaseResult deletedWritten;
  if (!written.failure && !run.StopRequested)
    deletedWritten = WriteDeletedPhase(records, reads, length, apart, run.StopRequested, ui, listRows ? &subjects : nullptr);
  FreedOutputResult freedWritten;
  if (freed && !written.failure && !deletedWritten.failure && !run.StopRequested)
    freedWritten = WriteFreedPhase(freed->TakeCandidates(), blocks, length, apart, run.StopRequested, ui);
  else if (freed)
    freedWritten.unwritten = CountFreedPhase(freed->TakeCandidates(), blocks, length);
  if (std::optional<FreedWriteFailure> closed = apart.Close(); closed && !deletedWritten.failure && !freedWritten.failure) {
    ShowFreedFailure(ui, *closed);
    freedWritten.failure = std::move(closed);
  }
  if (listRows)
    AddLaterListLines(records, subjects, missing, deletedWritten.senders, freedWritten.messages, addRow);
  run.ListRows.reset();
  if (keepRows) run.ListRows = std::move(rows);
  std::vector<std::u16string> listFiles;
  const bool listed = FinishStoreList(list, ui, listFiles);
  platform::OsError flushError;
  const bool flushed = written.written + deletedWritten.written + freedWritten.written + listFiles.size() == 0 ||
                       platform::FlushToDisk(
                           *folder,
                           [&](const platform::FileVisitor& visit) {
                             ForEachWrittenFile(records, *folder, {&deletedWritten.files, &freedWritten.files, &listFiles},
                                                visit);
                           },
                           flushError, run.Options.WriteFaults);
  if (!flushed)
    ui.ShowMessage({Text(TextId::FlushFailed, ui.TextLanguage(), {*folder, flushError.text}), MessageIcon::Exclamation,
                    MessageButtons::Ok, {}});
  ShowEndPhase(ui);

  RecoveryOutcome outcome;
  const bool writeFailed =
      written.failure.has_value() || deletedWritten.failure.has_value() || freedWritten.failure.has_value() ||
      !listed || !flushed;
  outcome.result = writeFailed                              ? RecoveryResult::WriteFailed
                   : scanStopped || run.StopRequested ? RecoveryResult::Stopped
                                                            : RecoveryResult::Completed;
  outcome.messageCount = remaining;
  outcome.unwrittenCount = remaining - WrittenCount(records);
  outcome.freedCount = freedWritten.written;
  outcome.freedUnwrittenCount = freedWritten.unwritten;
  // A flush that failed once everything was written cut nothing short.
  outcome.stopped =
      outcome.result == RecoveryResult::Stopped || written.failure || deletedWritten.failure || freedWritten.failure;
  outcome.flushFailed = !flushed;
  outcome.pointerCheckRejects = extracted.findings.pointerCheckRejects;
  outcome.missingSignature = extracted.missingSignature;
  outcome.otherOutlookFile = extracted.otherOutlookFile;
  outcome.cutShortCount = CutShortCount(records);
  outcome.unreadableRanges = reads.Unreadable();
  outcome.unreadableCount = static_cast<std::int32_t>(outcome.unreadableRanges.size());
  for (const platform::ByteRange& range : outcome.unreadableRanges) outcome.unreadableBytes += range.length;
  outcome.retriesStopped = reads.RetriesStopped();
  outcome.index = UseOf(index);
  outcome.deletedCount = deletedWritten.written;
  outcome.listedCount = index ? static_cast<std::int32_t>(index->Messages.size()) : 0;
  outcome.missingCount = static_cast<std::int32_t>(missing.size());
  // The files written always stay; only a run that completed and found nothing leaves no folder.
  if (outcome.result != RecoveryResult::Completed || FoundAny(outcome) || !platform::RemoveFolder(*folder))
    outcome.outputFolder = *folder;
  run.Outcome = outcome;
  return outcome;
}
