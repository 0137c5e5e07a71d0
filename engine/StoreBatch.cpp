#include "engine/StoreBatch.h"

#include <algorithm>
#include <iterator>

#include "engine/FolderNames.h"
#include "engine/RunListPhase.h"
#include "engine/RunReport.h"
#include "engine/StoreNames.h"
#include "engine/Texts.h"
#include "engine/naming/DecimalText.h"
#include "engine/scan/StoreSignature.h"
#include "platform/FolderListing.h"
#include "platform/Paths.h"

namespace {

constexpr int kLastGroup = 6;

// Names that hold no mail come after the six groups.
int GroupOf(const std::u16string& name) {
  const int category = ClassifyDbxFile(name);
  return category == kNotListed ? kLastGroup + 1 : category;
}

// A file that cannot be opened is not skipped: its run tells why it cannot be read.
bool HoldsNoMail(const std::u16string& path) {
  if (ClassifyDbxFile(FileNameOf(path)) == kNotListed) return true;
  platform::OsError error;
  const std::optional<platform::StoreFile> file = platform::StoreFile::Open(path, error);
  if (!file) return false;
  StoreReads reads(*file);
  return IsOtherOutlookFile(reads);
}

bool EndsBatch(const RecoveryRun& run, const RecoveryOutcome& outcome) {
  return run.StopRequested || run.HaltRequested || run.QuitRequested || outcome.result == RecoveryResult::WriteFailed;
}

// The batch's one list at the top of its run folder, flushed; when any store's index was whole, so that a
// batch of stores without one leaves what it always left. Its failure is told.
void WriteBatchList(const std::u16string& runFolder, const std::vector<RunListRow>& rows, bool anyWhole,
                    const RunOptions& options, RecoveryUi& ui) {
  if (!anyWhole || rows.empty()) return;
  std::u16string path;
  platform::OsError error;
  const bool written = WriteRunListFile(runFolder, rows, ui.TextLanguage(), options.WriteFaults, path, error) &&
                       platform::FlushToDisk(runFolder, [&path](const platform::FileVisitor& visit) { visit(path); },
                                             error, options.WriteFaults);
  if (!written)
    ui.ShowMessage({WriteFailureText(path, error.text, {}, ui.TextLanguage()), MessageIcon::Exclamation,
                    MessageButtons::Ok, {}});
}

}  // namespace

bool SkippedInBatch(const BatchStore& store) { return store.fromFolder && !store.problem && HoldsNoMail(store.path); }

std::optional<std::vector<BatchStore>> FolderStores(const std::u16string& folder, platform::OsError& error) {
  std::optional<std::vector<std::u16string>> names = platform::FileNamesIn(folder, error);
  if (!names) return std::nullopt;
  std::erase_if(*names, [](const std::u16string& name) { return !IsDbxFileName(name); });
  std::sort(names->begin(), names->end(), [](const std::u16string& a, const std::u16string& b) {
    const int groupA = GroupOf(a);
    const int groupB = GroupOf(b);
    return groupA != groupB ? groupA < groupB : a < b;
  });
  std::vector<BatchStore> stores;
  for (const std::u16string& name : *names) stores.push_back({platform::JoinPath(folder, name), true, std::nullopt});
  return stores;
}

std::u16string StorePlaceText(const StorePlace& place, Language language) {
  return Text(TextId::StorePlace, language,
              {place.name, DecimalText(static_cast<std::int64_t>(place.number)),
               DecimalText(static_cast<std::int64_t>(place.count))});
}

BatchOutcome RecoverStores(const std::vector<BatchStore>& stores, const RunOptions& options, BatchUi& ui) {
  BatchOutcome batch;
  const FolderListNames folderNames = NamesFromFolderLists(stores, options);
  batch.folderListUnreadable = folderNames.unreadable;
  std::vector<std::u16string> recoveredPaths;
  std::vector<std::vector<NamedLevel>> recoveredLevels;
  for (std::size_t i = 0; i < stores.size(); ++i) {
    StoreReport report{std::u16string(FileNameOf(stores[i].path)), StoreFate::NotStarted, {}, {}};
    if (stores[i].problem) {
      report.fate = StoreFate::Problem;
    } else if (SkippedInBatch(stores[i])) {
      report.fate = StoreFate::Skipped;
    } else {
      recoveredPaths.push_back(stores[i].path);
      recoveredLevels.push_back(folderNames.levels[i]);
    }
    batch.stores.push_back(std::move(report));
  }
  if (!recoveredPaths.empty()) {
    const std::optional<std::u16string> runFolder = CreateOutputFolder(ui.Overall().OutputParentFolder(), ui.Overall());
    if (!runFolder) {
      batch.folderFailed = true;
      return batch;
    }
    batch.runFolder = *runFolder;
  }
  const std::vector<std::u16string> subfolders = SubfolderNames(recoveredPaths, recoveredLevels);
  std::vector<RunListRow> listRows;
  ScanBuffers buffers;
  bool anyWholeIndex = false;
  std::size_t next = 0;  // the next of recoveredPaths
  for (std::size_t i = 0; i < stores.size(); ++i) {
    StoreReport& report = batch.stores[i];
    if (report.fate == StoreFate::Problem) {
      if (!batch.stopped) ui.Overall().ShowMessage(*stores[i].problem);
      continue;
    }
    if (report.fate == StoreFate::Skipped) continue;
    const std::size_t number = ++next;
    if (!recoveredLevels[number - 1].empty()) report.namedFolder = subfolders[number - 1];
    if (batch.stopped) continue;
    RecoveryRun run(options);
    RecoveryUi& storeUi = ui.ForStore(run, StorePlace{stores[i].path, report.name, number, recoveredPaths.size()});
    report.outcome = RecoverStore(stores[i].path, run, storeUi, platform::JoinPath(batch.runFolder, subfolders[number - 1]),
                                  &buffers);
    report.fate = StoreFate::Recovered;
    if (run.ListRows) PutUnder(*run.ListRows, subfolders[number - 1]);
    anyWholeIndex = anyWholeIndex || report.outcome.index == IndexUse::Whole;
    // The front end sees the store's rows before they move into the batch's list.
    ui.StoreFinished(report.outcome);
    if (run.ListRows)
      listRows.insert(listRows.end(), std::make_move_iterator(run.ListRows->begin()),
                      std::make_move_iterator(run.ListRows->end()));
    // A batch that ends after its last store was written whole (its flush failed, or Stop came once
    // the work was done) cut nothing short.
    batch.stopped = EndsBatch(run, report.outcome) && (report.outcome.stopped || number < recoveredPaths.size());
    batch.quit = run.QuitRequested;
  }
  if (!batch.quit) WriteBatchList(batch.runFolder, listRows, anyWholeIndex, options, ui.Overall());
  return batch;
}
