#pragma once
// The run's last writing phase: the freed messages the scan found, written after the renaming.
#include <atomic>
#include <string>

#include "engine/RecoveryUi.h"
#include "engine/freed/FreedBlocks.h"
#include "engine/freed/FreedOutput.h"
#include "engine/scan/BlockSource.h"

// Links the candidates into messages and writes them into the deleted-mail folder, showing the progress
// on the status bar as the renaming does and pumping events after each. A stop ends the phase after the
// current file; a failed write is shown as the writing shows one and ends it too. fileLength is the
// length the scan worked with.
FreedOutputResult WriteFreedPhase(FreedCandidates candidates, BlockSource& blocks, std::int64_t fileLength,
                                  DeletedMailFolder& folder, const std::atomic<bool>& stop, RecoveryUi& ui);

// The freed messages the candidates hold, for a run whose writing stopped before them: counted, not
// written.
std::int32_t CountFreedPhase(FreedCandidates candidates, BlockSource& blocks, std::int64_t fileLength);
