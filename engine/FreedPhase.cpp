#include "engine/FreedPhase.h"

#include "engine/StatusPhases.h"
#include "engine/Texts.h"
#include "engine/freed/FreedChains.h"

FreedOutputResult WriteFreedPhase(const std::vector<FreedCandidate>& candidates, BlockSource& blocks,
                                  std::int64_t fileLength, const std::u16string& folder,
                                  const std::atomic<bool>& stop, RecoveryUi& ui,
                                  const platform::WriteFaultPlan& faults) {
  const std::vector<FreedChain> chains = LinkFreedBlocks(candidates, fileLength);
  if (chains.empty()) return {};
  ShowRenamingPhase(ui);
  FreedOutputResult result =
      WriteFreedMessages(chains, blocks, folder, stop, [&ui](std::size_t done, std::size_t total) {
        ShowPercent(ui, RoundPercent(static_cast<double>(done), static_cast<double>(total)));
        ui.PumpEvents();
      },
      faults);
  if (result.failure)
    ui.ShowMessage({Text(TextId::WriteFailed, ui.TextLanguage(), {result.failure->path, result.failure->error.text}), MessageIcon::Exclamation,
                    MessageButtons::Ok, {}});
  return result;
}
