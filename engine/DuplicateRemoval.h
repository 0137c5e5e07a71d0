#pragma once
#include <cstdint>
#include <vector>

#include "engine/RecoveryUi.h"
#include "engine/scan/UsedBlocks.h"
#include "engine/writing/MailRecord.h"

// Marks as removed the messages whose first block was also reached inside another message's chain:
// they are tail pieces of that message, and no file is ever made for them. records is 1-based like
// MailRecords. Returns the message count less the removed ones. The list is taken and let go here,
// since nothing needs it afterwards.
std::int32_t RemoveDuplicates(std::vector<MailRecord>& records, UsedBlockList used, std::int32_t messageCount,
                              RecoveryUi& ui);
