#include "engine/freed/FreedMessage.h"

#include <array>
#include <utility>

namespace {

using Block = std::array<std::uint8_t, kBlockSize>;

FreedData DataOf(const Block& block) { return FreedData(block.data() + (kBlockSize - kFreedDataBytes), kFreedDataBytes); }

// Reads the chain's first block; whether it begins a message.
bool ReadFirstBlock(const FreedChains& chains, const FreedChain& chain, BlockSource& blocks, Block& block) {
  return chain.blocks != 0 && blocks.Read(chains.Position(chain.first), block) && !IsLookalike(DataOf(block));
}

}  // namespace

std::optional<FreedMessage> ReadFreedMessage(const FreedChains& chains, const FreedChain& chain, BlockSource& blocks) {
  Block block{};
  const auto data = [&block] { return DataOf(block); };
  const std::int64_t first = chains.Position(chain.first);
  if (!ReadFirstBlock(chains, chain, blocks, block)) return std::nullopt;
  const bool beginsHeader = BeginsHeader(data());
  FreedText text;
  text.AddBlock(data());
  std::size_t read = 1;
  for (std::size_t at = chain.first; read < chain.blocks; ++read) {
    at = chains.After(at);
    if (!blocks.Read(chains.Position(at), block)) break;
    text.AddBlock(data());
  }
  text.Finish();
  const bool complete = chain.endsOnLastBlock && read == chain.blocks && beginsHeader;
  return FreedMessage{std::move(text), first, read, complete};
}

std::int32_t CountFreedMessages(FreedChains& chains, BlockSource& blocks) {
  Block block{};
  std::int32_t count = 0;
  while (const std::optional<FreedChain> chain = chains.Next()) count += ReadFirstBlock(chains, *chain, blocks, block) ? 1 : 0;
  return count;
}
