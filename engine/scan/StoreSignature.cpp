#include "engine/scan/StoreSignature.h"

#include <algorithm>

bool HasStoreSignature(const platform::StoreFile& file) {
  std::array<std::uint8_t, kStoreSignature.size()> start{};
  return file.ReadAt(0, start) == static_cast<std::int64_t>(start.size()) &&
         std::equal(start.begin(), start.end(), kStoreSignature.begin());
}
