// The block scan and chain assembly over any store, with the pointer check on and off; and the freed
// blocks the same windows hold, linked and rebuilt into messages.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "engine/freed/FreedChains.h"
#include "engine/freed/FreedMessage.h"
#include "engine/scan/BlockScan.h"
#include "engine/scan/CandidateSearch.h"
#include "engine/scan/FileBlockSource.h"
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
    // Touch every byte so that the sanitizers see a read past the block's data.
    for (const std::uint8_t byte : bytes) sum_ += byte;
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
  std::uint64_t sum_ = 0;
};

// Every place of every window searched, as the scan searches it when it finds no message.
std::vector<FreedCandidate> FindFreed(const platform::StoreFile& file, bool pointerCheck) {
  const std::int64_t length = ScanLength(file.Length());
  StoreReads reads(file);
  StoreReader reader(reads, length);
  FileBlockSource blocks(reads);
  FreedBlocks freed(pointerCheck, blocks);
  for (std::int64_t start = 1; start < length; start += kWindowStep) {
    reader.LoadWindow(start);
    freed.WindowLoaded(reader.Window(), start);
    for (std::int64_t from = 1, m = 0; (m = FindCandidate(reader.Window(), from, freed)) != 0;) from = m + 1;
  }
  return freed.Candidates();
}

void RecoverFreed(const std::u16string& path, bool pointerCheck) {
  platform::OsError error;
  const auto file = platform::StoreFile::Open(path, error);
  Require(file.has_value());
  const std::vector<FreedCandidate> candidates = FindFreed(*file, pointerCheck);
  for (std::size_t i = 1; i < candidates.size(); ++i) Require(candidates[i - 1].position < candidates[i].position);
  const std::vector<FreedChain> chains = LinkFreedBlocks(candidates, file->Length());
  std::size_t blocks = 0;
  StoreReads reads(*file);
  FileBlockSource source(reads);
  for (const FreedChain& chain : chains) {
    blocks += chain.blocks.size();
    const std::optional<FreedMessage> message = ReadFreedMessage(chain, source);
    if (!message) continue;
    const std::vector<std::uint8_t>& bytes = message->text.Bytes();
    Require(bytes.size() <= message->blocks * 512 && message->text.Lost().size() == message->blocks);
    for (const LostRange& lost : message->text.Lost()) Require(lost.begin < lost.end && lost.end <= bytes.size());
  }
  // Each freed block belongs to one message at most.
  Require(blocks <= candidates.size());
}

void ScanOnce(const std::u16string& path, bool skipPointerCheck) {
  platform::OsError error;
  const auto file = platform::StoreFile::Open(path, error);
  if (!file) std::abort();
  const std::int64_t length = ScanLength(file->Length());
  UsedBlockList used;
  StoreReads reads(*file);
  StoreReader reader(reads, length);
  CheckingHost host(length);
  ScanStore(reader, skipPointerCheck, used, host);
  const std::vector<std::int64_t> entries = used.Entries();
  if (static_cast<std::int64_t>(entries.size()) != used.UsedBlockCount()) std::abort();
  for (std::size_t i = 1; i < entries.size(); ++i)
    if (entries[i - 1] >= entries[i]) std::abort();
}

}  // namespace

// An input that begins with kFarAway is the rest placed at an odd offset just below 4 GiB, so that
// positions, chains and displacements cross 2^32. Such a scan reads 4 GiB, so only few inputs are.
constexpr std::uint8_t kFarAway = 0xFF;
constexpr std::int64_t kFarOffset = (std::int64_t{1} << 32) - 2049;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static MemoryStore store;
  if (size > 0 && data[0] == kFarAway)
    store.Fill(std::span(data + 1, size - 1), kFarOffset);
  else
    store.Fill(std::span(data, size));
  ScanOnce(store.Path(), false);
  ScanOnce(store.Path(), true);
  RecoverFreed(store.Path(), true);
  RecoverFreed(store.Path(), false);
  return 0;
}
