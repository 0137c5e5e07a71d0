#include "engine/DuplicateRemoval.h"

std::int32_t RemoveDuplicates(std::vector<MailRecord>& records, UsedBlockList used, std::int32_t messageCount,
                              RecoveryUi& ui) {
  for (std::size_t i = 1; i < records.size(); ++i) {
    MailRecord& record = records[i];
    if (used.Contains(record.StartBlock)) {
      record.Status = MailRecord::kRemoved;
      --messageCount;
    }
    ui.PumpEvents();
  }
  return messageCount;
}
