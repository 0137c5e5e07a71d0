#include "cli/StoreBatch.h"

#include <algorithm>
#include <optional>

#include "engine/BatchReport.h"
#include "engine/naming/DecimalText.h"
#include "platform/Interrupt.h"

namespace cli {
namespace {

// Each store's messages and progress line are led by its path and its place.
class TerminalBatchUi final : public BatchUi {
 public:
  TerminalBatchUi(const std::u16string& outputParentFolder, TerminalStreams streams, ProgressLine& progress)
      : streams_(streams),
        progress_(progress),
        overall_(outputParentFolder, streams, progress, platform::InterruptCount, unstarted_) {}
  ~TerminalBatchUi() override { Leave(RecoveryOutcome{}); }

  RecoveryUi& Overall() override { return overall_; }

  RecoveryUi& ForStore(RecoveryRun& run, const StorePlace& place) override {
    Leave(RecoveryOutcome{});
    const std::u16string counter = u"[" + DecimalText(static_cast<std::int64_t>(place.number)) + u"/" +
                                   DecimalText(static_cast<std::int64_t>(place.count)) + u"] ";
    store_.emplace(overall_.OutputParentFolder(), streams_, progress_, platform::InterruptCount, run,
                   StoreLabels{place.path, counter + place.name});
    return *store_;
  }

  // The store's unreadable ranges follow its lines, as a single store's do.
  void StoreFinished(const RecoveryOutcome& outcome) override { Leave(outcome); }

 private:
  void Leave(const RecoveryOutcome& outcome) {
    if (store_) store_->Finish(outcome);
    store_.reset();
  }

  TerminalStreams streams_;
  ProgressLine& progress_;
  RecoveryRun unstarted_;
  TerminalUi overall_;
  std::optional<TerminalUi> store_;
};

ExitStatus StatusOf(const BatchOutcome& batch) {
  if (batch.folderFailed) return kExitFolderFailed;
  if (platform::InterruptRequested()) return kExitInterrupted;
  for (const StoreReport& store : batch.stores) {
    if (store.fate == StoreFate::Problem) return kExitStoreOpenFailed;
    if (store.fate != StoreFate::Recovered) continue;
    const ExitStatus status = ExitStatusFor(store.outcome, false);
    if (status != kExitCompleted) return status;
  }
  return kExitCompleted;
}

}  // namespace

ExitStatus RecoverStores(const std::vector<BatchStore>& stores, const std::u16string& outputParentFolder,
                         const RunOptions& options, TerminalStreams streams, ProgressLine& progress) {
  BatchOutcome batch;
  {
    TerminalBatchUi ui(outputParentFolder, streams, progress);
    batch = ::RecoverStores(stores, options, ui);
  }
  const bool anyListed = std::any_of(batch.stores.begin(), batch.stores.end(),
                                     [](const StoreReport& store) { return store.fate != StoreFate::Problem; });
  if (anyListed && !batch.folderFailed) streams.out.Write(BatchReportText(batch, streams.language, false) + u'\n');
  if (!batch.runFolder.empty()) streams.out.Write(batch.runFolder + u'\n');
  return StatusOf(batch);
}

}  // namespace cli
