#include "engine/scan/StoreSignature.h"

#include <algorithm>

bool HasStoreSignature(StoreReads& store) {
  std::array<std::uint8_t, kStoreSignature.size()> start{};
  const auto size = static_cast<std::int64_t>(start.size());
  const bool whole = store.Read(0, start) == size;
  if (!store.Readable(0, size)) return true;
  return whole && std::equal(start.begin(), start.end(), kStoreSignature.begin());
}
