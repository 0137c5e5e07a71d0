#pragma once
// The step from one block of a chain to the next, for live and freed chains alike.
#include <cstdint>
#include <optional>

// The 0-based offset of the block a chain goes on to. The block at 0-based offset stores ownOffset and
// nextOffset, 32-bit words that wrap at 4 GiB, so the next block is one of the offsets congruent to
// (offset − ownOffset) + nextOffset modulo 2^32: the one nearest the current block, ties going
// forward, among those inside a file of fileLength bytes. Below 4 GiB that is offset − ownOffset +
// nextOffset. nullopt when none lies inside the file.
std::optional<std::int64_t> NextBlockOffset(std::int64_t offset, std::uint32_t ownOffset, std::uint32_t nextOffset,
                                            std::int64_t fileLength);
