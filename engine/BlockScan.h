#pragma once
// The windowed search for message blocks and the assembly of each message's chain.
#include <cstdint>
#include <span>

#include "engine/StoreReader.h"
#include "engine/modDBXFile.h"

// What the scan hands to the run: the bytes of each message, and the points where the run shows
// progress, pumps events and may end the scan.
class ScanHost {
 public:
  virtual ~ScanHost() = default;
  // A candidate was accepted; false when the message cannot be written (the scan then ends).
  virtual bool BeginMessage() = 0;
  // False when writing failed; the chain walk then ends.
  virtual bool AppendMessageBytes(std::span<const std::uint8_t> bytes) = 0;
  // The message is complete; false ends the scan.
  virtual bool EndMessage(std::int32_t startBlock, bool cutShort) = 0;
  // The window moved on to position + search start; false ends the scan.
  virtual bool WindowAdvanced(std::int64_t position) = 0;
  virtual void Pump() = 0;
};

void ScanStore(StoreReader& store, bool skipPointerCheck, UsedBlockList& used, ScanHost& host);
