#include "engine/freed/FreedMessage.h"

#include <array>
#include <utility>

std::optional<FreedMessage> ReadFreedMessage(const FreedChain& chain, BlockSource& blocks) {
  std::array<std::uint8_t, kBlockSize> block{};
  const auto data = [&block] { return FreedData(block.data() + (kBlockSize - kFreedDataBytes), kFreedDataBytes); };
  if (chain.blocks.empty() || !blocks.Read(chain.blocks.front(), block) || IsLookalike(data())) return std::nullopt;
  const bool beginsHeader = BeginsHeader(data());
  FreedText text;
  text.AddBlock(data());
  std::size_t read = 1;
  for (; read < chain.blocks.size(); ++read) {
    if (!blocks.Read(chain.blocks[read], block)) break;
    text.AddBlock(data());
  }
  text.Finish();
  const bool complete = chain.endsOnLastBlock && read == chain.blocks.size() && beginsHeader;
  return FreedMessage{std::move(text), chain.blocks.front(), read, complete};
}
