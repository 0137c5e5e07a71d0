#pragma once
// The recovery run: scans a DBX store for message blocks and writes each message into its own file.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/RecoveryUi.h"

inline constexpr int kBlockSize = 528;

// One 528-byte message block as stored; integers little-endian, read as signed 32-bit.
struct DbxBlock {
  std::int32_t OwnOffset = 0;
  std::int32_t AreaSize = 0;
  std::int32_t DataLength = 0;
  std::int32_t NextOffset = 0;
  std::uint8_t Data[512] = {};
};

struct MailRecord {
  std::u16string FilePath;
  std::int32_t StartBlock = 0;
  std::int32_t Status = 0;  // 1 extracted, 3 cut short by a read failure, 0 removed as a duplicate
  std::u16string Subject;
  std::u16string ReceivedDate;
  // Where the file lies once the rename pass has handled it: its new path, or FilePath when it kept
  // its working name. Empty for records the pass did not reach.
  std::u16string FinalPath;
};

// One record per extracted message, 1-based: element 0 is never filled.
extern std::vector<MailRecord> MailRecords;

// Run flags, set by the user interface (or a signal handler) and polled by the run.
extern std::atomic<bool> SkipPointerCheck;
extern std::atomic<bool> StopRequested;
extern std::atomic<bool> QuitRequested;

// Positions of the second and later blocks of every chain walked in a run, so that no block is taken
// as a message start twice and tail pieces can be told from whole messages afterwards.
// UsedBlocks is ascending and 1-based: slot 0 is unused, entries 1..UsedBlockCount are valid, and
// UsedBlocks.size() - 1 is the capacity.
struct UsedBlockList {
  explicit UsedBlockList(std::int32_t initialCapacity);

  std::int32_t Capacity() const;
  // Doubles the capacity (from 0 to 1), keeping the entries.
  void Grow();
  // Makes room when the list is full, then enters the position.
  void Enter(std::int32_t position);

  std::vector<std::int32_t> UsedBlocks;
  std::int32_t UsedBlockCount = 0;
};

// Binary search over entries low..high of the ascending list.
bool IsBlockUsed(const std::vector<std::int32_t>& list, std::int32_t position, std::int32_t low, std::int32_t high);
// Inserts the position in order unless it is present; the list must have room for one more entry.
void AddUsedBlock(std::vector<std::int32_t>& list, std::int32_t position, std::int32_t low, std::int32_t& count);

enum class RecoveryResult { Completed, Stopped, StoreOpenFailed, FolderCreateFailed, WriteFailed };

// What a front end needs to report a run; the window ignores it and relies on the message boxes.
struct RecoveryOutcome {
  RecoveryResult result = RecoveryResult::Completed;
  std::int32_t messageCount = 0;
  std::u16string outputFolder;
};

RecoveryOutcome RecoverMails(const std::u16string& dbxPath, RecoveryUi& ui);
