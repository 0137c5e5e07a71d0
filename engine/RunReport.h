#pragma once
// The report at the end of a run, for the window's message box and the CLI's last lines alike.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Texts.h"
#include "platform/ByteRange.h"

enum class RecoveryResult { Completed, Stopped, StoreOpenFailed, FolderCreateFailed, WriteFailed };

// What the store's own index gave the run.
enum class IndexUse {
  Ignored,   // --no-index, or a run that never read it
  Absent,    // the store has none: a count without a tree, as other tools write stores, or no store header
  NotWhole,  // damaged: everything went where it goes without an index
  Whole,     // deleted mail went apart
};

// What a front end needs to report a run.
struct RecoveryOutcome {
  RecoveryResult result = RecoveryResult::Completed;
  std::int32_t messageCount = 0;       // the messages kept after duplicate removal
  std::u16string outputFolder{};       // empty when the run left no folder behind
  std::int32_t cutShortCount = 0;      // kept messages whose chain a read failure ended
  bool stopped = false;                // by Stop, Ctrl-C or a failed write
  std::int64_t pointerCheckRejects = 0;  // first blocks only the pointer check refused
  bool missingSignature = false;
  std::int32_t freedCount = 0;         // freed messages written into their subfolder
  std::int32_t unreadableCount = 0;    // merged ranges of the store that could not be read
  std::int64_t unreadableBytes = 0;    // the bytes in them
  std::vector<platform::ByteRange> unreadableRanges{};  // those ranges, in ascending order
  bool retriesStopped = false;         // a stop left the reads around unreadable places unfinished
  bool otherOutlookFile = false;       // begins like a store but is another of the client's files
  std::int32_t unwrittenCount = 0;     // kept messages whose files a stop or a failure left unwritten
  bool flushFailed = false;            // the files written may not be on the disk
  std::int32_t freedUnwrittenCount = 0;  // freed messages found that a stop or a failure left unwritten
  IndexUse index = IndexUse::Ignored;
  std::int32_t deletedCount = 0;   // deleted messages written apart, among the kept messages' files
  std::int32_t listedCount = 0;    // messages the whole index lists
  std::int32_t missingCount = 0;   // of them, those the scan did not find
};

// Whole KiB, rounded up: a single unreadable sector is never reported as none.
std::int64_t RoundedUpKilobytes(std::int64_t bytes);

// The warning of the write that ended the writing: the file, the system's reason and, when one could not
// be removed, the file left partly written.
std::u16string WriteFailureText(const std::u16string& path, const std::u16string& reason, const std::u16string& leftover,
                                Language language);

// How many of the kept messages, and of the freed ones, were written, for each kind of which not all
// were; empty when every message found was written.
std::u16string WrittenText(const RecoveryOutcome& outcome, Language language);

// What the store's index told: the deleted mail written apart (or that the store lists none), or that
// the index could not be read, then how many listed messages were not found; empty without an index.
std::u16string IndexText(const RecoveryOutcome& outcome, Language language);

// Whether the run found any mail, kept or freed.
bool FoundAny(const RecoveryOutcome& outcome);

// Whether the run's list holds a row: a file written, or a message the index lists that was not found.
bool ListsAny(const RecoveryOutcome& outcome);

// The report's text: the count (or that nothing was found at all) with the sentences the outcome adds,
// "中断しました。" first; how many of the kept messages, and of the freed ones, were written whenever not
// all were; with results, where to look through the run's list when it holds a row; the question
// whether to open the folder last when asked for and mail was found.
std::u16string ReportText(const RecoveryOutcome& outcome, Language language, bool withQuestion,
                          bool withResults = false);
