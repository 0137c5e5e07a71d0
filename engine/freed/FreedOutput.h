#pragma once
// Writes the freed messages into their own subfolder of the run's folder, with a report beside them.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/freed/DeletedMailFolder.h"
#include "engine/freed/FreedChains.h"
#include "engine/scan/BlockSource.h"
#include "platform/Files.h"

struct FreedFileWritten {
  DeletedMailFile file;
  std::int64_t firstBlock = 0;  // 1-based position
  std::int64_t bytes = 0;
  bool complete = false;
};

struct FreedOutputResult {
  std::int32_t written = 0;
  std::int32_t unwritten = 0;  // messages found that a stop or a failure left unwritten
  std::optional<FreedWriteFailure> failure;  // the write that ended the phase
  std::vector<std::u16string> files;         // paths of the report and of every message file written
  std::vector<FreedFileWritten> messages;    // every message file written, in order
};

// Called after each chain: chains handled so far, and all of them.
using FreedProgress = std::function<void(std::size_t done, std::size_t total)>;

// Writes each chain that holds mail as a file of its own in the subfolder "削除済みメール" of
// runFolder, created with the first file, and adds its row to "復元レポート.tsv" there. A file is
// written once, under the name the subject gives it ("RecoverN.eml", N counting freed messages, when
// the subject gives none), with the first free clash suffix, and dated from its header, through a working
// name (see StagedFile). A stop ends the phase before the next chain; a failed create, write or rename
// ends it too and is handed back, and the file not written whole is removed, as is one whose row could
// not be added. The report lists only files that exist, and is closed with its error checked. The
// messages of the chains left then are counted as unwritten.
// faults, when given, is consulted by every create and write.
FreedOutputResult WriteFreedMessages(FreedChains chains, BlockSource& blocks,
                                     const std::u16string& runFolder, const std::atomic<bool>& stop,
                                     const FreedProgress& progress, const platform::WriteFaultPlan& faults = nullptr);
// The same into a folder the run shares with its deleted messages, and which it closes itself.
FreedOutputResult WriteFreedMessages(FreedChains chains, BlockSource& blocks, DeletedMailFolder& folder,
                                     const std::atomic<bool>& stop, const FreedProgress& progress);
