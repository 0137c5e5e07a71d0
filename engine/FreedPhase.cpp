#include "engine/FreedPhase.h"

#include <utility>

#include "engine/RunReport.h"
#include "engine/StatusPhases.h"
#include "engine/Texts.h"
#include "engine/freed/FreedChains.h"
#include "engine/freed/FreedMessage.h"

FreedOutputResult WriteFreedPhase(FreedCandidates candidates, BlockSource& blocks, std::int64_t fileLength,
                                  DeletedMailFolder& folder, const std::atomic<bool>& stop, RecoveryUi& ui) {
  FreedChains chains(std::move(candidates), fileLength);
  if (chains.Count() == 0) return {};
  ShowRenamingPhase(ui);
  FreedOutputResult result =
      WriteFreedMessages(std::move(chains), blocks, folder, stop, [&ui](std::size_t done, std::size_t total) {
        ShowPercent(ui, RoundPercent(static_cast<double>(done), static_cast<double>(total)));
        ui.PumpEvents();
      });
  if (result.failure)
    ui.ShowMessage({WriteFailureText(result.failure->path, result.failure->error.text, result.failure->leftover,
                                     ui.TextLanguage()),
                    MessageIcon::Exclamation, MessageButtons::Ok, {}});
  return result;
}

std::int32_t CountFreedPhase(FreedCandidates candidates, BlockSource& blocks, std::int64_t fileLength) {
  FreedChains chains(std::move(candidates), fileLength);
  return CountFreedMessages(chains, blocks);
}
