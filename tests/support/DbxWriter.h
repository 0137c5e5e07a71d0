#pragma once
// Composes DBX message stores the way Outlook Express lays them out: a 0x24BC-byte file header, then
// 528-byte message blocks (OwnOffset, 0x200, a 16-bit length and two zero bytes, NextOffset, 512 data
// bytes) at 4-byte aligned offsets, with other objects between them.
//
// The writer works in memory. Constructed with a file path it streams instead: everything up to the
// bytes still in its buffer is written out as it grows, so stores of any size can be built; changes to
// bytes already written out throw std::logic_error.
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

inline constexpr std::size_t kDbxHeaderSize = 0x24BC;
inline constexpr std::size_t kDbxBlockSize = 528;
inline constexpr std::size_t kDbxDataSize = 512;
inline constexpr std::int64_t kFreeListHeadOffset = 0x48;
inline constexpr std::array<std::uint8_t, 20> kMessageFolderSignature = {
    0xCF, 0xAD, 0x12, 0xFE, 0xC5, 0xFD, 0x74, 0x6F, 0x66, 0xE3, 0xD1, 0x11, 0x9A, 0x4E, 0x00, 0xC0, 0x4F, 0xA3, 0x09, 0xD4};

// Header fields of one block, as stored.
struct BlockHeader {
  std::int32_t ownOffset = 0;
  std::int32_t areaSize = 0x200;
  std::uint16_t dataLength = 0;
  std::int32_t nextOffset = 0;
};

// A message as its store's index lists it, and a folder as Folders.dbx does; texts in the system code
// page. The first block lies in the data area, as past 16 MiB, or in its entry; the flags always there.
struct IndexedMessage {
  std::int64_t firstBlock = 0;
  std::string subject, sender;
  std::uint64_t received = 0;  // FILETIME, UTC
  bool inDataArea = false;
};
struct ListedFolder {
  std::uint32_t id = 0, parent = 0xFFFFFFFF;
  std::string name, storeFile;
};

// Where a message's blocks went: 0-based file offsets, first block first.
struct PlacedMessage {
  std::vector<std::int64_t> blockOffsets;
  // 1-based position of the first block, as the engine counts.
  std::int64_t StartPosition() const { return blockOffsets.front() + 1; }
};

class DbxWriter {
 public:
  // In memory; starts with the file header.
  DbxWriter();
  // Streams to the file, which is created or truncated.
  explicit DbxWriter(const std::filesystem::path& file);
  DbxWriter(const DbxWriter&) = delete;
  DbxWriter& operator=(const DbxWriter&) = delete;
  ~DbxWriter();

  // Current length of the store.
  std::int64_t Size() const { return base_ + static_cast<std::int64_t>(tail_.size()); }

  // Appends a message in consecutive blocks at the next 4-byte boundary.
  PlacedMessage AppendMessage(std::span<const std::uint8_t> message);
  PlacedMessage AppendMessage(std::string_view message);
  // Appends a message whose blocks run backwards through the file: the first block lies last.
  PlacedMessage AppendBackwardMessage(std::string_view message);
  // Writes the message's blocks at the given 0-based offsets (one per 512 bytes, first block first),
  // growing the store as needed. Stored OwnOffset and NextOffset are the real offsets + displacement.
  PlacedMessage PlaceMessage(std::string_view message, const std::vector<std::int64_t>& blockOffsets,
                             std::int32_t displacement = 0);

  // Appends zero bytes for a later PlaceMessage at the next 4-byte boundary; returns their offset.
  std::int64_t Reserve(std::size_t bytes);
  // Appends another object (an index node, a folder record...) at the next 4-byte boundary.
  std::int64_t AppendObject(std::span<const std::uint8_t> bytes);
  // Appends bytes exactly where the store ends, with no alignment.
  void AppendRaw(std::span<const std::uint8_t> bytes);
  // Appends count pseudo-random bytes from seed at the next 4-byte boundary; returns their offset.
  std::int64_t AppendNoise(std::size_t count, std::uint32_t seed);

  // Damage and hand-made blocks: overwrite bytes at a 0-based offset, growing the store as needed.
  void Poke(std::int64_t offset, std::span<const std::uint8_t> bytes);
  void PokeInt32(std::int64_t offset, std::int32_t value);
  void WriteBlockHeader(std::int64_t offset, const BlockHeader& header);
  // Frees a message the way Outlook Express does, block by block from the first: the words at +4 and +8
  // become 0x1FC and 0x210, the word at +0x10 takes the head of the free list (so each block after
  // the first names the one before it), and the block becomes the head, the word at header offset 0x48.
  // The header must still be in memory.
  void FreeMessage(const PlacedMessage& message);
  // Appends a freed tree node, (own offset, 0x268, 0x27C, ...) and text after it; returns its offset.
  std::int64_t AppendFreedTreeNode();
  // Appends an index object of 0x210 bytes with body after its 16-byte header (up to 512 bytes) and
  // frees it like a message block; returns its offset.
  std::int64_t AppendFreedObject(std::span<const std::uint8_t> body);
  // An index, as Outlook Express writes it beside the blocks; without one the header keeps a count of 1
  // and no tree (0xC4 and 0xE4), which is not a whole index. AppendMessageInfo appends a message info record; AppendIndexTree a tree
  // over the records at values, its nodes one after another from the root, at most perNode entries
  // a node (fewer give small tests several levels), and returns the root; AppendIndex also sets the
  // header's count and root.
  std::int64_t AppendMessageInfo(const IndexedMessage& message);
  std::int64_t AppendIndexTree(std::span<const std::int64_t> values, std::size_t perNode = 0x33, std::int64_t parent = 0);
  std::int64_t AppendIndex(const std::vector<std::int64_t>& records, std::size_t perNode = 0x33);
  // Makes the file Folders.dbx and appends its whole index of the folders, two a node; returns the root.
  std::int64_t AppendFolderList(const std::vector<ListedFolder>& folders);

  // The word at a 0-based offset, from bytes still in memory.
  std::int32_t PeekInt32(std::int64_t offset);

  // Cuts the store to a length (in-memory only, or within bytes not yet streamed out).
  void Truncate(std::int64_t size);

  // The whole store; in memory only.
  const std::vector<std::uint8_t>& Bytes() const;
  void Save(const std::filesystem::path& file) const;
  // Streams the rest out and closes the file; the writer takes no more changes.
  void Finish();

 private:
  std::uint8_t* Writable(std::int64_t offset, std::size_t count);
  void AlignTo4();
  void StreamOut();
  void FreeBlock(std::int64_t offset);
  // One indexed info record; fields (number, value or bytes) in ascending field order.
  struct InfoField;
  std::int64_t AppendIndexedInfo(const std::vector<InfoField>& fields);

  std::int64_t base_ = 0;  // file offset of tail_[0]; non-zero only when streaming
  std::vector<std::uint8_t> tail_;
  std::ofstream stream_;
  bool streaming_ = false;
};

// The bytes of a message's blocks laid out one after another from the 0-based offset, for writing
// into a file by other means (a sparse file, a hand-made store).
std::vector<std::uint8_t> EncodeContiguousMessage(std::string_view message, std::int64_t offset);

// A small RFC 822 message with CR LF line ends padded with words to at least totalBytes.
std::string MakeMessage(std::string_view subject, std::size_t totalBytes, std::uint32_t seed = 1);

// Reads a whole file; empty when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& file);

}  // namespace testsupport
