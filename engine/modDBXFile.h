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
};

// One record per extracted message, 1-based: element 0 is never filled.
extern std::vector<MailRecord> MailRecords;

// Run flags, set by the user interface (or a signal handler) and polled by the run.
extern std::atomic<bool> SkipPointerCheck;
extern std::atomic<bool> StopRequested;
extern std::atomic<bool> QuitRequested;

// Ascending 1-based block positions; slot 0 unused; entries 1..count are valid.
struct UsedBlockList {
  std::vector<std::int32_t> entries{0};
  std::int32_t count = 0;
};

bool IsBlockUsed(const UsedBlockList& list, std::int32_t position, std::int32_t low, std::int32_t high);
void AddUsedBlock(UsedBlockList& list, std::int32_t position, std::int32_t low, std::int32_t& count);

enum class RecoveryResult { Completed, Stopped, StoreOpenFailed, FolderCreateFailed, WriteFailed };

// What a front end needs to report a run; the window ignores it and relies on the message boxes.
struct RecoveryOutcome {
  RecoveryResult result = RecoveryResult::Completed;
  std::int32_t messageCount = 0;
  std::u16string outputFolder;
};

RecoveryOutcome RecoverMails(const std::u16string& dbxPath, RecoveryUi& ui);
