// The block scan and chain assembly over any store, with the pointer check on and off, collecting the
// freed blocks in the same pass as a run does.
#include <array>
#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <span>
#include <vector>

#include "engine/freed/FreedBlocks.h"
#include "engine/scan/BlockScan.h"
#include "engine/scan/FileBlockSource.h"
#include "engine/scan/ScanBuffers.h"
#include "fuzz/MemoryStore.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// Takes every message and checks what the scan promises about it.
class CheckingHost final : public ScanHost {
 public:
  explicit CheckingHost(std::int64_t length) : length_(length) {}

  bool BeginMessage() override {
    Require(!inMessage_);
    inMessage_ = true;
    return true;
  }
  bool AppendMessageBytes(std::span<const std::uint8_t> bytes) override {
    Require(inMessage_ && !bytes.empty() && bytes.size() <= 512);
    // Read every byte so that the sanitizers see a read past the block's data: as one copy, which they
    // check whole, rather than byte by byte, which the coverage would trace at every step.
    std::memcpy(copy_.data(), bytes.data(), bytes.size());
    return true;
  }
  bool EndMessage(std::int64_t startBlock, bool) override {
    Require(inMessage_ && startBlock >= 1 && startBlock <= length_);
    inMessage_ = false;
    return true;
  }
  bool WindowAdvanced(std::int64_t position) override {
    Require(!inMessage_ && position > lastPosition_);
    lastPosition_ = position;
    return true;
  }
  void Pump() override {}

 private:
  static void Require(bool condition) {
    if (!condition) std::abort();
  }

  const std::int64_t length_;
  bool inMessage_ = false;
  std::int64_t lastPosition_ = 0;
  std::array<std::uint8_t, 512> copy_{};
};

void ScanOnce(const std::u16string& path, bool skipPointerCheck, ScanBuffers& buffers) {
  platform::OsError error;
  const auto file = platform::StoreFile::Open(path, error);
  Require(file.has_value());
  const std::int64_t length = ScanLength(file->Length());
  UsedBlockList used;
  StoreReads reads(*file);
  StoreReader reader(reads, length, StartThread, &buffers);
  CheckingHost host(length);
  FileBlockSource blocks(reads);
  FreedBlocks freed(!skipPointerCheck, blocks);
  ScanStore(reader, skipPointerCheck, used, host, &freed);
  const std::vector<std::int64_t> entries = used.Entries();
  Require(static_cast<std::int64_t>(entries.size()) == used.UsedBlockCount());
  for (std::size_t i = 1; i < entries.size(); ++i) Require(entries[i - 1] < entries[i]);
  const FreedCandidates& candidates = freed.Candidates();
  for (std::size_t i = 1; i < candidates.Size(); ++i) Require(candidates.Position(i - 1) < candidates.Position(i));
}

}  // namespace

// An input that begins with kFarAway and a byte whose low bit tells whether the pointer check is
// skipped is the rest placed at an odd offset just below the second window, so that blocks and chains
// straddle two windows, the read-ahead and the lines. Its first window alone costs as much as dozens
// of small stores, so it is scanned once. Stores stay small: positions beyond 4 GiB are the
// large-store tests' part.
constexpr std::uint8_t kFarAway = 0xFF;
constexpr std::int64_t kFarOffset = kWindowStep - 2049;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static MemoryStore store;
  // Kept from input to input, as a batch keeps them from store to store.
  static ScanBuffers buffers;
  if (size > 1 && data[0] == kFarAway) {
    store.Fill(std::span(data + 2, size - 2), kFarOffset);
    ScanOnce(store.Path(), (data[1] & 1) != 0, buffers);
    return 0;
  }
  store.Fill(std::span(data, size));
  ScanOnce(store.Path(), false, buffers);
  ScanOnce(store.Path(), true, buffers);
  return 0;
}
