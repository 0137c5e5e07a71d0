#include "engine/freed/FreedMessage.h"

#include <array>
#include <utility>

std::optional<FreedMessage> ReadFreedMessage(const FreedChains& chains, const FreedChain& chain, BlockSource& blocks) {
  std::array<std::uint8_t, kBlockSize> block{};
  const auto data = [&block] { return FreedData(block.data() + (kBlockSize - kFreedDataBytes), kFreedDataBytes); };
  const std::int64_t first = chains.Position(chain.first);
  if (chain.blocks == 0 || !blocks.Read(first, block) || IsLookalike(data())) return std::nullopt;
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
