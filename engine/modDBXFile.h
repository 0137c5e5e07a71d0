#pragma once
// The recovery run: scans a DBX store for message blocks and writes each message into its own file.
#include <atomic>
#include <cstdint>
#include <string>

#include "engine/MailRecord.h"
#include "engine/RecoveryUi.h"
#include "engine/RunReport.h"

// Run flags, set by the user interface (or a signal handler) and polled by the run.
extern std::atomic<bool> SkipPointerCheck;
extern std::atomic<bool> StopRequested;
extern std::atomic<bool> QuitRequested;

// Fills MailRecords with the messages it writes.
RecoveryOutcome RecoverMails(const std::u16string& dbxPath, RecoveryUi& ui);
