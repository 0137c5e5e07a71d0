#include "cli/RunCli.h"

#include <exception>

#include "cli/Arguments.h"
#include "cli/ExitStatus.h"
#include "cli/ProgressLine.h"
#include "cli/RunListTable.h"
#include "cli/StoreBatch.h"
#include "cli/StoreList.h"
#include "cli/TerminalUi.h"
#include "engine/RecoveryRun.h"
#include "platform/Folders.h"
#include "platform/Interrupt.h"
#include "platform/Utf.h"

namespace cli {
namespace {

std::u16string DefaultOutputParent() {
  std::u16string documents = platform::DocumentsFolder();
  // Without even a home folder, the current folder is the only sane place left.
  return documents.empty() ? u"." : documents;
}

int Run(const CliOptions& options, TerminalStreams streams) {
  platform::CatchInterrupt();
  platform::IgnoreFileSizeLimitSignal();
  ProgressLine progress(streams.err, WantsProgressLine(options.quiet, streams.err));
  const std::u16string outputParent = options.outputFolder.value_or(DefaultOutputParent());
  const std::vector<BatchStore> stores = ExpandStores(options.storePaths, streams.language);
  // A single store keeps the layout it always had: its mail directly in the run folder.
  RunOptions runOptions{options.skipPointerCheck, options.recoverFreed, options.unreadableRanges};
  runOptions.UseIndex = options.useIndex;
  if (stores.size() > 1 || stores.front().problem || SkippedInBatch(stores.front()))
    return RecoverStores(stores, outputParent, runOptions, streams, progress);
  RecoveryRun run(runOptions);
  TerminalUi ui(outputParent, streams, progress, platform::InterruptCount, run);
  const RecoveryOutcome outcome = RecoverMails(stores.front().path, run, ui);
  ui.Finish(outcome);
  return ExitStatusFor(outcome, platform::InterruptRequested());
}

}  // namespace

int RunCli(const std::vector<std::string>& utf8Args, TextOutput& out, TextOutput& err, Language language) {
  try {
    const ParsedArguments parsed = ParseArguments(utf8Args, language);
    if (!parsed.outText.empty()) out.Write(parsed.outText);
    if (!parsed.errText.empty()) err.Write(parsed.errText);
    if (!parsed.options) return parsed.exitStatus;
    if (parsed.options->listFolder)
      return PrintRunList(*parsed.options->listFolder, parsed.options->deletedOnly, out, err, language);
    return Run(*parsed.options, TerminalStreams{out, err, language});
  } catch (const std::exception& error) {
    err.Write(u"palvenor-cli: " + platform::FromUtf8(error.what()) + u'\n');
    return kExitUnexpected;
  }
}

}  // namespace cli
