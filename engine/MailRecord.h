#pragma once
// The record the run keeps of each extracted message.
#include <cstdint>
#include <string>
#include <vector>

struct MailRecord {
  // The values of Status.
  static constexpr std::int32_t kRemoved = 0;    // removed as a duplicate
  static constexpr std::int32_t kExtracted = 1;
  static constexpr std::int32_t kCutShort = 3;   // extracted, but a read failure ended its chain early

  std::u16string FilePath;
  std::int64_t StartBlock = 0;  // 1-based store position of the message's first block
  std::int32_t Status = kRemoved;
  std::u16string Subject;
  std::u16string ReceivedDate;
  // Where the file lies once the rename pass has handled it: its new path, or FilePath when it kept
  // its working name. Empty for records the pass did not reach.
  std::u16string FinalPath;
};

// One record per extracted message, 1-based: element 0 is never filled. Emptied and filled by each
// run, then left as the run ends for whoever looks afterwards.
extern std::vector<MailRecord> MailRecords;
