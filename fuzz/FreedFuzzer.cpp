// The freed-block search on its own: every place of every window of a store searched for freed headers,
// the candidates linked into chains and each chain rebuilt into a message. An input that begins with
// kText is instead the data areas of one freed message, which reaches the text's repairs directly.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <utility>
#include <vector>

#include "engine/freed/FreedBlocks.h"
#include "engine/freed/FreedChains.h"
#include "engine/freed/FreedMessage.h"
#include "engine/scan/CandidateSearch.h"
#include "engine/scan/FileBlockSource.h"
#include "engine/scan/StoreReader.h"
#include "fuzz/MemoryStore.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// What any rebuilt text promises: one lost range per block, each inside the text, and every other byte
// the block's own.
void CheckText(const FreedText& text, std::size_t blocks, std::span<const std::uint8_t> data) {
  const std::vector<std::uint8_t>& bytes = text.Bytes();
  Require(bytes.size() <= blocks * kFreedDataBytes && text.Lost().size() == blocks);
  for (std::size_t block = 0; block < blocks; ++block) {
    const LostRange& lost = text.Lost()[block];
    const std::size_t start = block * kFreedDataBytes;
    Require(lost.begin == start && lost.end == start + kLostBytes && lost.end <= bytes.size());
    for (std::size_t i = lost.end; i < std::min(bytes.size(), start + kFreedDataBytes); ++i)
      Require(data.empty() || bytes[i] == data[i]);
  }
}

// Every place of every window searched, as the scan searches a window in which it finds no message.
FreedCandidates FindFreed(const platform::StoreFile& file, bool pointerCheck) {
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
  return freed.TakeCandidates();
}

void RecoverFreed(const std::u16string& path, bool pointerCheck) {
  platform::OsError error;
  const auto file = platform::StoreFile::Open(path, error);
  Require(file.has_value());
  FreedCandidates candidates = FindFreed(*file, pointerCheck);
  for (std::size_t i = 1; i < candidates.Size(); ++i) Require(candidates.Position(i - 1) < candidates.Position(i));
  const std::size_t found = candidates.Size();
  FreedChains chains(std::move(candidates), file->Length());
  std::size_t count = 0;
  std::size_t blocks = 0;
  StoreReads reads(*file);
  FileBlockSource source(reads);
  for (std::optional<FreedChain> chain; (chain = chains.Next()); ++count) {
    blocks += chain->blocks;
    const std::optional<FreedMessage> message = ReadFreedMessage(chains, *chain, source);
    if (!message) continue;
    Require(message->firstBlock == chains.Position(chain->first) && message->blocks <= chain->blocks);
    CheckText(message->text, message->blocks, {});
  }
  Require(count == chains.Count());
  // Each freed block belongs to one message at most, and taken blocks never overlap: the messages
  // never hold more blocks than the store has room for.
  Require(blocks <= found && blocks * kBlockSize <= static_cast<std::size_t>(file->Length()) + kBlockSize);
}

// The input cut into data areas, the last one filled up with zeros.
void RebuildText(std::span<const std::uint8_t> input) {
  const std::size_t blocks = (input.size() + kFreedDataBytes - 1) / kFreedDataBytes;
  if (blocks == 0) return;
  std::vector<std::uint8_t> data(blocks * kFreedDataBytes, 0);
  std::copy(input.begin(), input.end(), data.begin());
  const FreedData first(data.data(), kFreedDataBytes);
  static_cast<void>(IsLookalike(first));
  static_cast<void>(BeginsHeader(first));
  FreedText text;
  for (std::size_t block = 0; block < blocks; ++block)
    text.AddBlock(FreedData(data.data() + block * kFreedDataBytes, kFreedDataBytes));
  text.Finish();
  CheckText(text, blocks, data);
}

}  // namespace

// An input that begins with kFarAway is the rest placed at an odd offset just below the second window,
// as the scan fuzzer places it: headers straddle two windows.
constexpr std::uint8_t kFarAway = 0xFF;
constexpr std::uint8_t kText = 0xFE;
constexpr std::int64_t kFarOffset = kWindowStep - 2049;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static MemoryStore store;
  const std::span input(data, size);
  if (size > 0 && data[0] == kText) {
    RebuildText(input.subspan(1));
    return 0;
  }
  if (size > 0 && data[0] == kFarAway)
    store.Fill(input.subspan(1), kFarOffset);
  else
    store.Fill(input);
  RecoverFreed(store.Path(), true);
  RecoverFreed(store.Path(), false);
  return 0;
}
