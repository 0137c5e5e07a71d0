#include "engine/scan/StoreSignature.h"

#include <algorithm>

namespace {

constexpr std::size_t kMagicSize = 4;

}  // namespace

bool HasStoreSignature(StoreReads& store) {
  std::array<std::uint8_t, kStoreSignature.size()> start{};
  const auto size = static_cast<std::int64_t>(start.size());
  const bool whole = store.Read(0, start) == size;
  if (!store.Readable(0, size)) return true;
  return whole && std::equal(start.begin(), start.end(), kStoreSignature.begin());
}

bool IsOtherOutlookFile(StoreReads& store) {
  std::array<std::uint8_t, kStoreSignature.size()> start{};
  const std::int64_t read = store.Read(0, start);
  return read >= static_cast<std::int64_t>(kMagicSize) &&
         std::equal(start.begin(), start.begin() + kMagicSize, kStoreSignature.begin()) &&
         !std::equal(start.begin(), start.begin() + read, kStoreSignature.begin());
}
