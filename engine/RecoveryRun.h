#pragma once
// The recovery run: scans a DBX store for message blocks, decides every message's name, and writes
// each message once into its own file.
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "engine/RecoveryUi.h"
#include "engine/RunReport.h"
#include "engine/runlist/RunListRow.h"
#include "engine/scan/ScanBuffers.h"
#include "engine/scan/ThreadStart.h"
#include "engine/writing/MailRecord.h"
#include "platform/ByteRange.h"
#include "platform/WriteFaults.h"

// What the user chose for a run.
struct RunOptions {
  bool SkipPointerCheck = false;
  // Whether the run also writes the messages found in freed blocks.
  bool RecoverFreed = true;
  // Byte ranges of the store known to be bad (a ddrescue map's): read as if every read of them failed.
  std::vector<platform::ByteRange> UnreadableRanges{};
  // Output calls made to fail, for tests; null otherwise.
  platform::WriteFaultPlan WriteFaults = nullptr;
  // How the run's worker threads are started; tests make a start fail through it.
  ThreadStart StartThread = ::StartThread;
  // Whether the store's own index tells the messages it lists from deleted mail; without it the run
  // writes everything found into its folder, as before the index was read.
  bool UseIndex = true;
};

// One run's whole state: the options it was given, the requests its user interface makes while it
// goes (from the window's buttons, or a Ctrl-C seen while pumping events), its records and its outcome.
// Each front end makes one for each run, so that no two runs share anything.
struct RecoveryRun {
  explicit RecoveryRun(RunOptions options = {}) : Options(options) {}

  const RunOptions Options;
  // Set by Stop, closing the window or a Ctrl-C. One that came during the scan ends the scan, and the
  // run clears it once the scan is over; one that comes after ends the writing after the file in hand.
  std::atomic<bool> StopRequested{false};
  std::atomic<bool> QuitRequested{false};
  // A second interrupt. It also sets StopRequested and acts as that does; it is kept for the report.
  std::atomic<bool> HaltRequested{false};
  // One record per extracted message, 1-based: element 0 is never filled. Filled by RecoverMails and
  // left as the run ends for whoever looks afterwards.
  std::vector<MailRecord> MailRecords{1};
  RecoveryOutcome Outcome;
  // The rows of the run's list for the files written and the messages missing, relative to the store's
  // folder; none when the index was not read. A single store's run writes the list itself when its
  // index is whole, and keeps the rows only then or for a front end that offers them; a batch writes
  // one list for all its stores.
  std::optional<std::vector<RunListRow>> ListRows;
};

// A new folder in `parent`, "メール復元" + timestamp, with "(k)" added for the first free k; nullopt,
// after telling `ui`, when it cannot be made.
std::optional<std::u16string> CreateOutputFolder(const std::u16string& parent, RecoveryUi& ui);

// Fills run.MailRecords with the messages it finds and writes, and returns the outcome it also leaves
// in run.Outcome. The run makes its own folder with CreateOutputFolder in ui.OutputParentFolder(), or,
// when given, exactly `exactFolder`, made with the folders above it that are missing: a batch puts each
// store in a folder of its own inside one run folder, nested as Folders.dbx nests them, and one made
// already for a store nested in it is taken as it is.
RecoveryOutcome RecoverMails(const std::u16string& dbxPath, RecoveryRun& run, RecoveryUi& ui,
                             const std::optional<std::u16string>& exactFolder = std::nullopt);

// RecoverMails without the report at its end, for a run over several stores that reports them together;
// the scan reads into buffers when given, which the next store's scan then reuses.
RecoveryOutcome RecoverStore(const std::u16string& dbxPath, RecoveryRun& run, RecoveryUi& ui,
                             const std::optional<std::u16string>& exactFolder = std::nullopt,
                             ScanBuffers* buffers = nullptr);
