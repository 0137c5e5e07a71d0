#pragma once
// The search of a scan window for the first block header of a possible message.
#include <cstdint>
#include <span>

#include "engine/scan/PairWatcher.h"

// Finds the first window position m >= from (1-based, from >= 1, m at most kWindowStep) where
// kCandidatePattern starts and the header bytes around it look like a message block: a 16-bit
// DataLength of at most kAreaSize followed by two zero bytes, and a first data byte that is an ASCII
// letter. 0 when there is none. A window shorter than kWindowSize (a short store's) is searched only
// where those tests find their bytes in it, up to its size - kCandidateReach - 1.
std::int64_t FindCandidate(std::span<const std::uint8_t> window, std::int64_t from);

// The same search, handing watcher every position it passes whose bytes are 02 00, up to and including
// the one it returns.
std::int64_t FindCandidate(std::span<const std::uint8_t> window, std::int64_t from, PairWatcher& watcher);
