#include "tests/support/DbxWriter.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace testsupport {
namespace {

// While streaming, the newest bytes stay in memory so that recent blocks can still be placed or
// damaged; everything older goes to the file once this much has gathered.
constexpr std::size_t kStreamKeep = 1 << 20;
constexpr std::size_t kStreamThreshold = 8 << 20;

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::size_t BlockCount(std::size_t messageSize) { return (messageSize + kDbxDataSize - 1) / kDbxDataSize; }

std::uint32_t NextRandom(std::uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

constexpr std::int64_t kNodeSize = 0x27C;
constexpr std::uint32_t kInEntry = 0x80;

std::vector<std::uint8_t> LittleEndian(std::uint64_t value, std::size_t width) {
  std::vector<std::uint8_t> bytes(width);
  for (auto& byte : bytes) byte = static_cast<std::uint8_t>(std::exchange(value, value >> 8));
  return bytes;
}

std::vector<std::uint8_t> Text(const std::string& text) { return {text.c_str(), text.c_str() + text.size() + 1}; }

}  // namespace

// Kept in its entry when data is empty.
struct DbxWriter::InfoField { std::uint8_t number; std::uint32_t value; std::vector<std::uint8_t> data; };

DbxWriter::DbxWriter() : tail_(kDbxHeaderSize, 0) {
  std::copy(kMessageFolderSignature.begin(), kMessageFolderSignature.end(), tail_.begin());
  // A count without a tree, as other tools write stores: not a whole index, so the run keeps its layout.
  tail_[0xC4] = 1;
}

DbxWriter::DbxWriter(const std::filesystem::path& file) : DbxWriter() {
  stream_.open(file, std::ios::binary | std::ios::trunc);
  if (!stream_) throw std::runtime_error("cannot create " + file.string());
  streaming_ = true;
}

DbxWriter::~DbxWriter() {
  if (streaming_ && stream_.is_open()) {
    stream_.write(reinterpret_cast<const char*>(tail_.data()), static_cast<std::streamsize>(tail_.size()));
  }
}

std::uint8_t* DbxWriter::Writable(std::int64_t offset, std::size_t count) {
  if (offset < base_) throw std::logic_error("bytes already streamed out cannot change");
  const auto end = static_cast<std::size_t>(offset - base_) + count;
  if (end > tail_.size()) tail_.resize(end, 0);
  return tail_.data() + (offset - base_);
}

void DbxWriter::AlignTo4() {
  const auto size = static_cast<std::size_t>(Size());
  if (size % 4 != 0) tail_.resize(tail_.size() + (4 - size % 4), 0);
}

void DbxWriter::StreamOut() {
  if (!streaming_ || tail_.size() < kStreamThreshold) return;
  const std::size_t out = tail_.size() - kStreamKeep;
  stream_.write(reinterpret_cast<const char*>(tail_.data()), static_cast<std::streamsize>(out));
  if (!stream_) throw std::runtime_error("writing the store failed");
  tail_.erase(tail_.begin(), tail_.begin() + static_cast<std::ptrdiff_t>(out));
  base_ += static_cast<std::int64_t>(out);
}

PlacedMessage DbxWriter::AppendMessage(std::span<const std::uint8_t> message) {
  AlignTo4();
  std::vector<std::int64_t> offsets;
  for (std::size_t i = 0; i < BlockCount(message.size()); ++i)
    offsets.push_back(Size() + static_cast<std::int64_t>(i * kDbxBlockSize));
  return PlaceMessage(std::string_view(reinterpret_cast<const char*>(message.data()), message.size()), offsets);
}

PlacedMessage DbxWriter::AppendMessage(std::string_view message) { return AppendMessage(AsBytes(message)); }

PlacedMessage DbxWriter::AppendBackwardMessage(std::string_view message) {
  const std::size_t blocks = BlockCount(message.size());
  const std::int64_t start = Reserve(blocks * kDbxBlockSize);
  std::vector<std::int64_t> offsets;
  for (std::size_t i = blocks; i-- > 0;) offsets.push_back(start + static_cast<std::int64_t>(i * kDbxBlockSize));
  return PlaceMessage(message, offsets);
}

PlacedMessage DbxWriter::PlaceMessage(std::string_view message, const std::vector<std::int64_t>& blockOffsets,
                                      std::int32_t displacement) {
  if (message.empty() || blockOffsets.size() != BlockCount(message.size()))
    throw std::invalid_argument("one block offset per 512 bytes of a non-empty message");
  for (std::size_t i = 0; i < blockOffsets.size(); ++i) {
    const std::size_t from = i * kDbxDataSize;
    const std::size_t length = std::min(kDbxDataSize, message.size() - from);
    const bool last = i + 1 == blockOffsets.size();
    const auto stored = [displacement](std::int64_t offset) { return static_cast<std::int32_t>(offset + displacement); };
    WriteBlockHeader(blockOffsets[i], BlockHeader{stored(blockOffsets[i]), 0x200, static_cast<std::uint16_t>(length),
                                                  last ? 0 : stored(blockOffsets[i + 1])});
    std::uint8_t* data = Writable(blockOffsets[i] + 16, kDbxDataSize);
    std::fill(data, data + kDbxDataSize, std::uint8_t{0});
    std::copy_n(message.data() + from, length, data);
  }
  StreamOut();
  return PlacedMessage{blockOffsets};
}

std::int64_t DbxWriter::Reserve(std::size_t bytes) {
  AlignTo4();
  const std::int64_t offset = Size();
  Writable(offset, bytes);
  return offset;
}

std::int64_t DbxWriter::AppendObject(std::span<const std::uint8_t> bytes) {
  AlignTo4();
  const std::int64_t offset = Size();
  tail_.insert(tail_.end(), bytes.begin(), bytes.end());
  StreamOut();
  return offset;
}

void DbxWriter::AppendRaw(std::span<const std::uint8_t> bytes) {
  tail_.insert(tail_.end(), bytes.begin(), bytes.end());
  StreamOut();
}

std::int64_t DbxWriter::AppendNoise(std::size_t count, std::uint32_t seed) {
  std::vector<std::uint8_t> noise(count);
  std::uint32_t state = seed == 0 ? 0x9E3779B9u : seed;
  for (auto& byte : noise) byte = static_cast<std::uint8_t>(NextRandom(state) >> 24);
  return AppendObject(noise);
}

void DbxWriter::Poke(std::int64_t offset, std::span<const std::uint8_t> bytes) {
  std::copy(bytes.begin(), bytes.end(), Writable(offset, bytes.size()));
}

void DbxWriter::PokeInt32(std::int64_t offset, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
                                 static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
  Poke(offset, bytes);
}

void DbxWriter::WriteBlockHeader(std::int64_t offset, const BlockHeader& header) {
  PokeInt32(offset, header.ownOffset);
  PokeInt32(offset + 4, header.areaSize);
  PokeInt32(offset + 8, header.dataLength);  // the 16-bit length followed by two zero bytes
  PokeInt32(offset + 12, header.nextOffset);
}

std::int32_t DbxWriter::PeekInt32(std::int64_t offset) {
  const std::uint8_t* bytes = Writable(offset, 4);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                                   static_cast<std::uint32_t>(bytes[2]) << 16 |
                                   static_cast<std::uint32_t>(bytes[3]) << 24);
}

void DbxWriter::FreeBlock(std::int64_t offset) {
  const std::int32_t own = PeekInt32(offset);
  PokeInt32(offset + 4, 0x1FC);
  PokeInt32(offset + 8, 0x210);
  PokeInt32(offset + 16, PeekInt32(kFreeListHeadOffset));
  PokeInt32(kFreeListHeadOffset, own);
}

void DbxWriter::FreeMessage(const PlacedMessage& message) {
  for (const std::int64_t offset : message.blockOffsets) FreeBlock(offset);
}

std::int64_t DbxWriter::AppendFreedTreeNode() {
  const std::int64_t offset = Reserve(kNodeSize);
  PokeInt32(offset, static_cast<std::int32_t>(offset));
  PokeInt32(offset + 4, 0x268);
  PokeInt32(offset + 8, 0x27C);
  const std::string text = MakeMessage("node", kNodeSize - 12);
  Poke(offset + 12, AsBytes(std::string_view(text).substr(0, kNodeSize - 12)));
  return offset;
}

std::int64_t DbxWriter::AppendFreedObject(std::span<const std::uint8_t> body) {
  if (body.size() > kDbxDataSize)
    throw std::invalid_argument("an object of 0x210 bytes holds 512 bytes after its header");
  const std::int64_t offset = Reserve(kDbxBlockSize);
  PokeInt32(offset, static_cast<std::int32_t>(offset));
  Poke(offset + 16, body);
  FreeBlock(offset);
  return offset;
}

std::int64_t DbxWriter::AppendIndexedInfo(const std::vector<InfoField>& fields) {
  std::vector<std::uint8_t> record(12), data;
  for (const InfoField& field : fields) {
    const auto entry = LittleEndian(field.data.empty() ? field.number | kInEntry | field.value << 8 : field.number | data.size() << 8, 4);
    record.insert(record.end(), entry.begin(), entry.end());
    data.insert(data.end(), field.data.begin(), field.data.end());
  }
  record.insert(record.end(), data.begin(), data.end());
  record[10] = static_cast<std::uint8_t>(fields.size());
  const std::int64_t offset = AppendObject(record);
  PokeInt32(offset, static_cast<std::int32_t>(offset));
  PokeInt32(offset + 4, static_cast<std::int32_t>(record.size() - 12));
  return offset;
}

std::int64_t DbxWriter::AppendMessageInfo(const IndexedMessage& message) {
  const auto firstBlock = static_cast<std::uint32_t>(message.firstBlock);
  const bool inEntry = !message.inDataArea && firstBlock < 1u << 24;
  return AppendIndexedInfo({{0x01, 0, LittleEndian(0x81, 4)},
                            {0x04, firstBlock, inEntry ? std::vector<std::uint8_t>{} : LittleEndian(firstBlock, 4)},
                            {0x08, 0, Text(message.subject)}, {0x0D, 0, Text(message.sender)},
                            {0x12, 0, LittleEndian(message.received, 8)}});
}

// Values beyond perNode go to perNode + 1 subtrees around the node's entries.
std::int64_t DbxWriter::AppendIndexTree(std::span<const std::int64_t> values, std::size_t perNode, std::int64_t parent) {
  if (values.empty()) return 0;
  const std::int64_t node = Reserve(kNodeSize);
  PokeInt32(node, static_cast<std::int32_t>(node));
  PokeInt32(node + 0x0C, static_cast<std::int32_t>(parent));
  const std::size_t entries = std::min(perNode, values.size());
  const std::size_t below = values.size() - entries;
  std::size_t at = 0;
  const auto child = [&](std::size_t i, std::int64_t childAt, std::int64_t countAt) {
    const std::size_t size = below * (i + 1) / (entries + 1) - below * i / (entries + 1);
    if (size != 0) {
      PokeInt32(childAt, static_cast<std::int32_t>(AppendIndexTree(values.subspan(at, size), perNode, node)));
      PokeInt32(countAt, static_cast<std::int32_t>(size));
    }
    at += size;
  };
  Poke(node + 0x11, std::vector<std::uint8_t>{static_cast<std::uint8_t>(entries)});
  child(0, node + 0x08, node + 0x14);
  for (std::size_t i = 0; i < entries; ++i) {
    const std::int64_t entry = node + 0x18 + static_cast<std::int64_t>(12 * i);
    PokeInt32(entry, static_cast<std::int32_t>(values[at++]));
    child(i + 1, entry + 4, entry + 8);
  }
  return node;
}

std::int64_t DbxWriter::AppendIndex(const std::vector<std::int64_t>& records, std::size_t perNode) {
  const std::int64_t root = AppendIndexTree(records, perNode);
  PokeInt32(0xC4, static_cast<std::int32_t>(records.size()));
  PokeInt32(0xE4, static_cast<std::int32_t>(root));
  return root;
}

std::int64_t DbxWriter::AppendFolderList(const std::vector<ListedFolder>& folders) {
  tail_[4] = 0xC6;
  std::vector<std::int64_t> records;
  for (const ListedFolder& folder : folders)
    records.push_back(AppendIndexedInfo({{0x00, folder.id, {}}, {0x01, 0, LittleEndian(folder.parent, 4)},
                                         {0x02, 0, Text(folder.name)}, {0x03, 0, Text(folder.storeFile)}}));
  return AppendIndex(records, 2);
}

void DbxWriter::Truncate(std::int64_t size) {
  if (size < base_) throw std::logic_error("bytes already streamed out cannot change");
  tail_.resize(static_cast<std::size_t>(size - base_), 0);
}

const std::vector<std::uint8_t>& DbxWriter::Bytes() const {
  if (streaming_) throw std::logic_error("a streamed store is not kept in memory");
  return tail_;
}

void DbxWriter::Save(const std::filesystem::path& file) const {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  const auto& bytes = Bytes();
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

void DbxWriter::Finish() {
  if (!streaming_) return;
  stream_.write(reinterpret_cast<const char*>(tail_.data()), static_cast<std::streamsize>(tail_.size()));
  stream_.close();
  if (!stream_) throw std::runtime_error("writing the store failed");
  base_ += static_cast<std::int64_t>(tail_.size());
  tail_.clear();
  streaming_ = false;
}

std::vector<std::uint8_t> EncodeContiguousMessage(std::string_view message, std::int64_t offset) {
  DbxWriter writer;
  writer.Truncate(0);
  std::vector<std::int64_t> offsets;
  for (std::size_t i = 0; i < BlockCount(message.size()); ++i)
    offsets.push_back(static_cast<std::int64_t>(i * kDbxBlockSize));
  writer.PlaceMessage(message, offsets, static_cast<std::int32_t>(offset));
  return writer.Bytes();
}

std::string MakeMessage(std::string_view subject, std::size_t totalBytes, std::uint32_t seed) {
  std::string message = "From: sender@example.jp\r\nTo: user@example.jp\r\nSubject: " + std::string(subject) +
                        "\r\nDate: Sat, 6 Jul 2002 10:20:30 +0900\r\n\r\n";
  std::uint32_t state = seed == 0 ? 1 : seed;
  static constexpr std::string_view kWords[] = {"mail ", "block ", "chain ", "store ", "letter ", "recover "};
  std::size_t line = 0;
  while (message.size() < totalBytes) {
    const std::string_view word = kWords[NextRandom(state) % std::size(kWords)];
    message += word;
    line += word.size();
    if (line > 60) {
      message += "\r\n";
      line = 0;
    }
  }
  return message + "\r\n";
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testsupport
