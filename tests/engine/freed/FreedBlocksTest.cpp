// The search for freed blocks finds exactly the candidates a byte-by-byte reading of the rules finds.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/freed/FreedBlocks.h"
#include "engine/scan/StoreReader.h"
#include "tests/support/MemoryBlocks.h"

namespace {

std::uint32_t WordAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void PutWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The rules read literally over a whole store held in memory; positions are 1-based.
std::vector<FreedCandidate> Reference(const std::vector<std::uint8_t>& store, bool pointerCheck) {
  std::vector<FreedCandidate> found;
  for (std::size_t at = 0; at + 12 <= store.size(); ++at) {
    const std::uint32_t own = WordAt(store, at);
    if (WordAt(store, at + 4) != 0x1FC || WordAt(store, at + 8) != 0x210 || own == 0) continue;
    if (pointerCheck && own != static_cast<std::uint32_t>(at)) continue;
    std::vector<std::uint8_t> header(store.begin() + static_cast<std::ptrdiff_t>(at),
                                     store.begin() + static_cast<std::ptrdiff_t>(std::min(at + 20, store.size())));
    header.resize(20, 0);
    found.push_back({static_cast<std::int64_t>(at) + 1, own, WordAt(header, 12), WordAt(header, 16)});
  }
  return found;
}

TEST(FreedBlocks, SearchFindsEveryCandidateTheRulesFind) {
  std::mt19937 random(17);
  // Bytes that make up parts of the pattern often; headers planted with the right own offset and a
  // wrong one, at the edges of the search's steps and of the windows: a header's bytes 02 00 lie 9
  // bytes after its start, and those at a window's indices 1 to 8 are read whole from the store.
  const std::uint8_t alphabet[] = {0, 0, 0xFC, 0x01, 0x10, 0x02, 'a', 0xFF};
  const std::int64_t step = kWindowStep;
  const std::vector<std::vector<std::int64_t>> rounds = {
      {4, 63, 130, step - 29, step - 9, step + 10, 2 * step - 3},
      {17, 200, step - 40, step - 20, step - 1, step + 30, 2 * step + 4960},
      {step - 8, 2 * step - 9}};
  for (const auto& edges : rounds) {
    std::vector<std::uint8_t> store(static_cast<std::size_t>(2 * kWindowStep + 5000));
    for (auto& byte : store) byte = alphabet[random() % std::size(alphabet)];
    for (std::size_t i = 0; i < edges.size(); ++i) {
      const auto at = static_cast<std::size_t>(edges[i]);
      PutWord(store, at, static_cast<std::uint32_t>(at) + (i % 2 == 0 ? 0 : 528));
      PutWord(store, at + 4, 0x1FC);
      PutWord(store, at + 8, 0x210);
      PutWord(store, at + 12, static_cast<std::uint32_t>(random()));
    }
    PutWord(store, 300, 0);  // a header at 300 with an own offset of 0 is never one
    PutWord(store, 304, 0x1FC);
    PutWord(store, 308, 0x210);
    for (const bool pointerCheck : {true, false}) {
      const std::vector<FreedCandidate> expected = Reference(store, pointerCheck);
      EXPECT_GE(expected.size(), pointerCheck ? (edges.size() + 1) / 2 : edges.size());
      const FreedCandidates found = testsupport::SearchFreedBlocks(store, pointerCheck);
      std::vector<FreedCandidate> foundList;
      for (std::size_t i = 0; i < found.Size(); ++i) foundList.push_back(found[i]);
      EXPECT_EQ(foundList, expected) << pointerCheck << " " << edges[0];
    }
  }
}

}  // namespace
