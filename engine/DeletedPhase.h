#pragma once
// The run's writing of deleted mail: the messages the store's index does not list, written after the
// listed ones into the deleted-mail folder.
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/RecoveryUi.h"
#include "engine/freed/DeletedMailFolder.h"
#include "engine/scan/StoreReads.h"
#include "engine/writing/MailRecord.h"
#include "engine/writing/SubjectStore.h"

struct DeletedPhaseResult {
  std::int32_t written = 0;
  std::optional<FreedWriteFailure> failure;  // the write that ended the phase
  std::vector<std::u16string> files;         // paths of the report, if made here, and of every file written
  std::vector<std::u16string> senders;       // of each message written, in record order, from its header
};

// Writes each kept record marked Deleted, in record order, into the folder with its row in the folder's
// report, and gives it its FileName and Time, and its subject to subjects (by record) when given; a record whose chain reads shorter now is cut
// short, one whose first block can no longer be read stays unwritten. The status bar shows the progress
// as the renaming does, with events pumped after each file. A stop ends the phase after the current file;
// a failed write is shown as the writing shows one and ends it too. length is the store length the scan
// worked with.
DeletedPhaseResult WriteDeletedPhase(std::vector<MailRecord>& records, StoreReads& store, std::int64_t length,
                                     DeletedMailFolder& folder, const std::atomic<bool>& stop, RecoveryUi& ui,
                                     SubjectStore* subjects);
