#include "cli/StoreBatch.h"

#include "cli/StoreNames.h"
#include "engine/RecoveryText.h"
#include "engine/modCommon.h"
#include "engine/modDBXFile.h"
#include "platform/Interrupt.h"

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
                         TerminalStreams streams, ProgressLine& progress) {
  const std::vector<std::u16string> paths = StorePaths(stores);
  const std::vector<std::u16string> subfolders = SubfolderNames(paths);
  std::optional<std::u16string> runFolder;
  if (!paths.empty()) {
    TerminalUi ui(outputParentFolder, streams, progress, platform::InterruptCount, StopRequested);
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
      TerminalUi ui(*runFolder, streams, progress, platform::InterruptCount, StopRequested,
                    StoreLabels{store.path, counter + std::u16string(FileNameOf(store.path))});
      const RecoveryOutcome outcome = RecoverMails(store.path, ui, JoinPath(*runFolder, subfolders[next]));
      ui.Finish(outcome);
      storeStatus = ExitStatusFor(outcome.result, platform::InterruptRequested());
      ++next;
    }
    if (storeStatus == kExitInterrupted) break;
    if (status == kExitCompleted) status = storeStatus;
  }
  if (runFolder) streams.out.Write(*runFolder + u'\n');
  return platform::InterruptRequested() ? kExitInterrupted : status;
}

}  // namespace cli
