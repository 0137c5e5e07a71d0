#include "engine/scan/StoreSignature.h"

#include <algorithm>

namespace {

constexpr std::size_t kMagicSize = 4;

}  // namespace

bool HasStoreSignature(const platform::StoreFile& file) {
  std::array<std::uint8_t, kStoreSignature.size()> start{};
  return file.ReadAt(0, start) == static_cast<std::int64_t>(start.size()) &&
         std::equal(start.begin(), start.end(), kStoreSignature.begin());
}

bool IsOtherOutlookFile(const platform::StoreFile& file) {
  std::array<std::uint8_t, kStoreSignature.size()> start{};
  const std::int64_t read = file.ReadAt(0, start);
  return read >= static_cast<std::int64_t>(kMagicSize) &&
         std::equal(start.begin(), start.begin() + kMagicSize, kStoreSignature.begin()) &&
         !std::equal(start.begin(), start.begin() + read, kStoreSignature.begin());
}
