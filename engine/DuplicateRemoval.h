#pragma once
#include <cstdint>
#include <vector>

#include "engine/MailRecord.h"
#include "engine/RecoveryUi.h"
#include "engine/UsedBlocks.h"

// Deletes the messages whose first block was also reached inside another message's chain: they are
// tail pieces of that message. records is 1-based like MailRecords. Returns the message count less
// the removed ones (a deletion that fails still counts as removed).
std::int32_t RemoveDuplicates(std::vector<MailRecord>& records, const UsedBlockList& used, std::int32_t messageCount,
                              RecoveryUi& ui);
