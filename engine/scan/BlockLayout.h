#pragma once
// The DBX message block as stored, and the geometry of the windowed scan that follows from it.
#include <array>
#include <cstdint>
#include <limits>
#include <span>

// Where each field lies in a block: integers are 4 bytes, little-endian. The stored offsets are
// unsigned file offsets that wrap at 4 GiB; the sizes are read as signed 32-bit.
inline constexpr int kOwnOffsetAt = 0;
inline constexpr int kAreaSizeAt = 4;
inline constexpr int kDataLengthAt = 8;
inline constexpr int kNextOffsetAt = 12;
inline constexpr int kDataAt = 16;
// The AreaSize of every message block, which is also the size of its Data.
inline constexpr int kAreaSize = 512;
inline constexpr int kBlockSize = kDataAt + kAreaSize;

// The header of one 528-byte message block as stored; its Data, kAreaSize bytes, follows at kDataAt.
// The Data is left where it was read, and never copied into the header.
struct DbxBlock {
  std::uint32_t OwnOffset = 0;  // file offset (0-based) at which the block lies, modulo 2^32
  std::int32_t AreaSize = 0;    // kAreaSize in message blocks
  std::int32_t DataLength = 0;  // valid bytes in Data, 1 to kAreaSize
  std::uint32_t NextOffset = 0; // file offset of the next block of the message, modulo 2^32; 0 in the last block
};

// Decodes a block's header from its stored bytes.
DbxBlock DecodeBlock(std::span<const std::uint8_t, kBlockSize> bytes);

// A message block's AreaSize field as stored: the byte pattern the scan searches for. A match at
// window position m puts block offset h at window position m - kAreaSizeAt + h.
inline constexpr std::array<std::uint8_t, 4> kCandidatePattern = {0x00, 0x02, 0x00, 0x00};
// The bytes after a match that the candidate tests read: through the first Data byte.
inline constexpr int kCandidateReach = kDataAt - kAreaSizeAt;

// Positions are 1-based and 64-bit: position p is the byte at file offset p - 1.
// The length scanned when the file's own cannot be told.
inline constexpr std::int64_t kUnknownStoreLength = std::numeric_limits<std::int32_t>::max();

// Whether the block at position stores its own offset: stored offsets hold the low 32 bits.
bool StoresOwnOffset(std::int64_t position, const DbxBlock& block);

// The position a chain goes on to from the block at position. Stored offsets wrap at 2^32, so the
// next block lies at one of the positions congruent to position - OwnOffset + NextOffset modulo 2^32:
// the nearest to the current block, ties going forward, or when that lies outside 1..length the
// nearest inside it, whole turns of 4 GiB towards the file. Below 4 GiB this is exactly
// position - OwnOffset + NextOffset. 0 when no such position lies within the file.
std::int64_t NextChainPosition(std::int64_t position, std::uint32_t ownOffset, std::uint32_t nextOffset,
                               std::int64_t length);
inline std::int64_t NextChainPosition(std::int64_t position, const DbxBlock& block, std::int64_t length) {
  return NextChainPosition(position, block.OwnOffset, block.NextOffset, length);
}

// The scan advances by whole windows of 1 MiB and takes matches at window positions 1 to kWindowStep.
inline constexpr std::int64_t kWindowStep = 1'048'576;
// A window holds what the tests of a match at kWindowStep read, and one byte more; consecutive
// windows overlap by the difference to kWindowStep.
inline constexpr std::int64_t kWindowSize = kWindowStep + kCandidateReach + 1;

static_assert(kBlockSize == 528 && kWindowSize == 1'048'589);
