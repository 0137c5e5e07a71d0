#pragma once
// The DBX message block as stored, and the geometry of the windowed scan that follows from it.
#include <array>
#include <cstdint>
#include <limits>
#include <span>

// Where each field lies in a block: integers are 4 bytes, little-endian, read as signed 32-bit.
inline constexpr int kOwnOffsetAt = 0;
inline constexpr int kAreaSizeAt = 4;
inline constexpr int kDataLengthAt = 8;
inline constexpr int kNextOffsetAt = 12;
inline constexpr int kDataAt = 16;
// The AreaSize of every message block, which is also the size of its Data.
inline constexpr int kAreaSize = 512;
inline constexpr int kBlockSize = kDataAt + kAreaSize;

// One 528-byte message block as stored.
struct DbxBlock {
  std::int32_t OwnOffset = 0;   // file offset (0-based) at which the block lies
  std::int32_t AreaSize = 0;    // kAreaSize in message blocks
  std::int32_t DataLength = 0;  // valid bytes in Data, 1 to kAreaSize
  std::int32_t NextOffset = 0;  // file offset of the next block of the message; 0 in the last block
  std::uint8_t Data[kAreaSize] = {};
};

// Decodes a block from its stored bytes.
DbxBlock DecodeBlock(std::span<const std::uint8_t, kBlockSize> bytes);

// A message block's AreaSize field as stored: the byte pattern the scan searches for. A match at
// window position m puts block offset h at window position m - kAreaSizeAt + h.
inline constexpr std::array<std::uint8_t, 4> kCandidatePattern = {0x00, 0x02, 0x00, 0x00};
// The bytes after a match that the candidate tests read: through the first Data byte.
inline constexpr int kCandidateReach = kDataAt - kAreaSizeAt;

// Positions are 1-based and signed 32-bit: position p is the byte at file offset p - 1.
inline constexpr std::int64_t kMaxPosition = std::numeric_limits<std::int32_t>::max();

// The scan advances by whole windows of 1 MiB and takes matches at window positions 1 to kWindowStep.
inline constexpr std::int64_t kWindowStep = 1'048'576;
// A window holds what the tests of a match at kWindowStep read, and one byte more; consecutive
// windows overlap by the difference to kWindowStep.
inline constexpr std::int64_t kWindowSize = kWindowStep + kCandidateReach + 1;
// The last window start from which one more step stays within kMaxPosition + 1.
inline constexpr std::int64_t kLastWindowStart = kMaxPosition + 1 - kWindowStep;

static_assert(kBlockSize == 528 && kWindowSize == 1'048'589 && kLastWindowStart == 2'146'435'072);
