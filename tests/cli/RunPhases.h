#pragma once
// The phases of a recovery run, entered the way the run enters them, so that a front end can be tested
// apart from a real run.
#include <string>

#include "engine/StatusPhases.h"

namespace clitest {

inline void EnterExtraction(RecoveryUi& ui) {
  ShowExtractionPhase(ui);
  ui.SetBusyPointer(true);
}

inline void EnterDuplicateRemoval(RecoveryUi& ui) { ShowDuplicateRemovalPhase(ui); }
inline void EnterRenaming(RecoveryUi& ui) { ShowRenamingPhase(ui); }
inline void EnterEnd(RecoveryUi& ui) { ShowEndPhase(ui); }

inline void SetPercentAndCount(RecoveryUi& ui, int percent, const std::u16string& count) {
  ShowPercent(ui, percent);
  ui.SetCaption(StatusControl::lblStatus, count);
}

}  // namespace clitest
