#pragma once
// The recovery run: scans a DBX store for message blocks and writes each message into its own file.
#include <atomic>
#include <cstdint>
#include <string>

#include "engine/MailRecord.h"
#include "engine/RecoveryUi.h"

// Run flags, set by the user interface (or a signal handler) and polled by the run.
extern std::atomic<bool> SkipPointerCheck;
// Whether the run also writes the messages found in freed blocks.
extern std::atomic<bool> RecoverFreed;
extern std::atomic<bool> StopRequested;
extern std::atomic<bool> QuitRequested;

enum class RecoveryResult { Completed, Stopped, StoreOpenFailed, FolderCreateFailed, WriteFailed };

// What a front end needs to report a run; the window ignores it and relies on the message boxes.
struct RecoveryOutcome {
  RecoveryResult result = RecoveryResult::Completed;
  std::int32_t messageCount = 0;
  std::u16string outputFolder;
  std::int32_t freedCount = 0;  // freed messages written into their subfolder
};

// Fills MailRecords with the messages it writes.
RecoveryOutcome RecoverMails(const std::u16string& dbxPath, RecoveryUi& ui);
