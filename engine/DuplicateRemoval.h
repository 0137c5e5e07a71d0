#pragma once
#include <cstdint>

#include "engine/RecoveryUi.h"
#include "engine/modDBXFile.h"

// Deletes the messages whose first block was also reached inside another message's chain: they are
// tail pieces of that message. Returns the message count less the removed ones (a deletion that
// fails still counts as removed).
std::int32_t RemoveDuplicates(const UsedBlockList& used, std::int32_t messageCount, RecoveryUi& ui);
