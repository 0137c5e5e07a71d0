#pragma once
// A run over several stores: one run folder, a folder in it for each store's mail, one outcome per
// store. The CLI and the window both run their batches here.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/RecoveryRun.h"
#include "engine/RecoveryUi.h"
#include "platform/Files.h"

struct BatchStore {
  std::u16string path;
  // Found in a folder rather than named: skipped when it holds no mail, by its name or its beginning.
  bool fromFolder = false;
  // A folder that gave no store: told when its turn comes, and nothing is recovered for it.
  std::optional<UiMessage> problem;
};

// The stores directly in a folder ("*.dbx" in any case) in the chooser's order: Inbox, Outbox, Sent
// Items, Deleted Items, Drafts, the other folders, then the names that hold no mail; by name inside
// each group, so that a run goes the same way every time. nullopt when the folder cannot be read.
std::optional<std::vector<BatchStore>> FolderStores(const std::u16string& folder, platform::OsError& error);

// Whether a batch leaves the store out: found in a folder, and holding no mail by its name (see
// ClassifyDbxFile) or by its beginning (another of the mail client's files).
bool SkippedInBatch(const BatchStore& store);

enum class StoreFate { Recovered, Skipped, NotStarted, Problem };

struct StoreReport {
  std::u16string name;      // the file name
  StoreFate fate = StoreFate::NotStarted;
  RecoveryOutcome outcome;  // of a recovered store
  // Its folder's path in the run folder when Folders.dbx named it; the report then names it so.
  std::u16string namedFolder;
};

struct BatchOutcome {
  std::u16string runFolder;  // empty when none was made
  bool folderFailed = false;  // the run folder could not be made: nothing was started
  std::vector<StoreReport> stores;  // one per store, in the order given
  // By Stop, Ctrl-C, a close or a failed write: the stores after that one were not started.
  bool stopped = false;
  bool quit = false;  // the window is closing, so nothing more is shown
  // A Folders.dbx among the stores could not be read: the stores beside it keep their file names.
  bool folderListUnreadable = false;
};

// A store's place among those the batch recovers, skipped ones left out.
struct StorePlace {
  std::u16string path;
  std::u16string name;  // its file name
  std::size_t number = 0;  // from 1
  std::size_t count = 0;
};

// "削除済みアイテム.dbx (4/7)": what the status bar shows before the phase.
std::u16string StorePlaceText(const StorePlace& place, Language language);

class BatchUi {
 public:
  virtual ~BatchUi() = default;
  // What concerns the batch as a whole: the run folder's parent and its failure, a folder's problem.
  virtual RecoveryUi& Overall() = 0;
  // The user interface of one store's run; it is left before the next store's is asked for.
  virtual RecoveryUi& ForStore(RecoveryRun& run, const StorePlace& place) = 0;
  // The store's run ended with the outcome given; its user interface is not used again.
  virtual void StoreFinished(const RecoveryOutcome&) {}
};

// Each store in turn, each with a run of its own and the same options, its mail in a folder of the run
// folder named after it, or as the Folders.dbx beside it names and nests it (see NamesFromFolderLists). A stop, a close or a failed write ends the batch. The report is the caller's.
BatchOutcome RecoverStores(const std::vector<BatchStore>& stores, const RunOptions& options, BatchUi& ui);
