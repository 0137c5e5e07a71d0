#include "cli/StoreBatch.h"

#include "cli/StoreNames.h"
#include "engine/RecoveryRun.h"
#include "engine/naming/DecimalText.h"
#include "platform/Interrupt.h"
#include "platform/Paths.h"

namespace cli {
namespace {

std::vector<std::u16string> StorePaths(const std::vector<StoreArgument>& stores) {
  std::vector<std::u16string> paths;
  for (const StoreArgument& store : stores) {
    if (!store.problem) paths.push_back(store.path);
  }
  return paths;
}

}  // namespace

ExitStatus RecoverStores(const std::vector<StoreArgument>& stores, const std::u16string& outputParentFolder,
                         const RunOptions& options, TerminalStreams streams, ProgressLine& progress) {
  const std::vector<std::u16string> paths = StorePaths(stores);
  const std::vector<std::u16string> subfolders = SubfolderNames(paths);
  std::optional<std::u16string> runFolder;
  if (!paths.empty()) {
    RecoveryRun unstarted(options);
    TerminalUi ui(outputParentFolder, streams, progress, platform::InterruptCount, unstarted);
    runFolder = CreateOutputFolder(outputParentFolder, ui);
    if (!runFolder) return kExitFolderFailed;
  }

  ExitStatus status = kExitCompleted;
  std::size_t next = 0;  // the next of `paths`
  for (const StoreArgument& store : stores) {
    ExitStatus storeStatus = kExitStoreOpenFailed;
    if (store.problem) {
      streams.err.Write(MessageLines(*store.problem, streams.language));
    } else {
      const std::u16string counter = u"[" + DecimalText(static_cast<std::int64_t>(next) + 1) + u"/" +
                                     DecimalText(static_cast<std::int64_t>(paths.size())) + u"] ";
      RecoveryRun run(options);
      TerminalUi ui(*runFolder, streams, progress, platform::InterruptCount, run,
                    StoreLabels{store.path, counter + std::u16string(FileNameOf(store.path))});
      const RecoveryOutcome outcome =
          RecoverMails(store.path, run, ui, platform::JoinPath(*runFolder, subfolders[next]));
      ui.Finish(outcome);
      storeStatus = ExitStatusFor(outcome, platform::InterruptRequested());
      ++next;
    }
    if (storeStatus == kExitInterrupted) break;
    if (status == kExitCompleted) status = storeStatus;
  }
  if (runFolder) streams.out.Write(*runFolder + u'\n');
  return platform::InterruptRequested() ? kExitInterrupted : status;
}

}  // namespace cli
