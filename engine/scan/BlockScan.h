#pragma once
// The windowed search for message blocks and the assembly of each message's chain.
//
// Positions are 1-based: position p is the store's byte at file offset p - 1, and window position w
// the byte at window start + w - 1. The offsets stored in blocks (OwnOffset, NextOffset) are 0-based.
#include <cstdint>
#include <span>

#include "engine/scan/PairWatcher.h"
#include "engine/scan/StoreReader.h"
#include "engine/scan/UsedBlocks.h"

// What the scan hands to the run: the bytes of each message, and the points where the run shows
// progress, pumps events and may end the scan. Each message comes as BeginMessage, any number of
// AppendMessageBytes and EndMessage; WindowAdvanced comes only between messages.
class ScanHost {
 public:
  virtual ~ScanHost() = default;
  // A candidate was accepted and its start adjusted. false: the message cannot be taken; the scan
  // ends at once, with no further call.
  virtual bool BeginMessage() = 0;
  // The next bytes of the message: a whole Data area, or the first DataLength bytes of the final
  // block. false: writing failed; the chain walk ends, EndMessage follows with cutShort set, and the
  // scan then ends as after a false from EndMessage.
  virtual bool AppendMessageBytes(std::span<const std::uint8_t> bytes) = 0;
  // The message is complete. startBlock is the position of its first block; cutShort tells that its
  // chain ended early (a failed read, a next position outside the store, back into the chain or onto a
  // block overlapping one of the chain's)
  // or that writing failed. false: no further message; the scan makes its window advance,
  // reports it through WindowAdvanced and ends, whatever that call answers.
  virtual bool EndMessage(std::int64_t startBlock, bool cutShort) = 0;
  // The window moved on; position is the new window start plus the search start in it, beyond the
  // store's length after the last window. false ends the scan.
  virtual bool WindowAdvanced(std::int64_t position) = 0;
  // A point where pending events are to be handled; it cannot end the scan.
  virtual void Pump() = 0;
};

// Candidates that passed every test of a first block but the pointer check, and were not used
// blocks: a store shifted or re-based (cut from a disk image, say) shows as many of them.
struct ScanFindings {
  std::int64_t pointerCheckRejects = 0;
};

// Scans the store from its first window to its length, or until the host ends the scan. Every
// block reached by following a NextOffset enters the used-block list: the second and later blocks of
// each chain walked, whether its message was cut short or not; a message's own first block only when
// another chain reaches it.
// A candidate whose block is in the list is not taken.
// watcher, when given, looks at every window in the same pass.
ScanFindings ScanStore(StoreReader& store, bool skipPointerCheck, UsedBlockList& used, ScanHost& host,
                       PairWatcher* watcher = nullptr);
