#pragma once
// What looks at the scan's windows for blocks of another kind in the same pass, such as the blocks
// a store freed: the scan hands it each window as it is loaded, and the candidate search every place
// it passes whose bytes are 02 00, so that such a watcher costs the scan nothing until that pair turns up.
#include <cstdint>
#include <span>

class PairWatcher {
 public:
  virtual ~PairWatcher() = default;
  // The scan loaded a window whose index 0 is 1-based position windowStart.
  virtual void WindowLoaded(std::span<const std::uint8_t> window, std::int64_t windowStart) = 0;
  // The candidate search passed the bytes 02 00 at window index at (1 to the window's length).
  virtual void PairAt(std::int64_t at) = 0;
};
