#pragma once
// The recovery run: scans a DBX store for message blocks, decides every message's name, and writes
// each message once into its own file.
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/MailRecord.h"
#include "engine/RecoveryUi.h"
#include "engine/RunReport.h"

// Run flags, set by the user interface (or a signal handler) and polled by the run.
extern std::atomic<bool> SkipPointerCheck;
// Whether the run also writes the messages found in freed blocks.
extern std::atomic<bool> RecoverFreed;
extern std::atomic<bool> StopRequested;
extern std::atomic<bool> QuitRequested;
// A second interrupt: the run leaves the messages it has not yet written and ends at once.
extern std::atomic<bool> HaltRequested;

// A new folder in `parent`, "メール復元" + timestamp, with "(k)" added for the first free k; nullopt,
// after telling `ui`, when it cannot be made.
std::optional<std::u16string> CreateOutputFolder(const std::u16string& parent, RecoveryUi& ui);

// Fills MailRecords with the messages it finds and writes. The run makes its own folder with CreateOutputFolder in
// ui.OutputParentFolder(), or, when given, exactly `exactFolder`, which must not exist yet: a front end
// that recovers several stores puts each in a folder of its own inside one run folder.
RecoveryOutcome RecoverMails(const std::u16string& dbxPath, RecoveryUi& ui,
                             const std::optional<std::u16string>& exactFolder = std::nullopt);
