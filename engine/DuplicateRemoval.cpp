#include "engine/DuplicateRemoval.h"

#include "engine/StatusPhases.h"
#include "platform/Files.h"

std::int32_t RemoveDuplicates(const UsedBlockList& used, std::int32_t messageCount, RecoveryUi& ui) {
  ShowDuplicateRemovalPhase(ui);
  for (std::size_t i = 1; i < MailRecords.size(); ++i) {
    MailRecord& record = MailRecords[i];
    if (IsBlockUsed(used.UsedBlocks, record.StartBlock, 1, used.UsedBlockCount)) {
      record.Status = 0;
      platform::RemoveFile(record.FilePath);
      --messageCount;
    }
    ui.PumpEvents();
  }
  return messageCount;
}
