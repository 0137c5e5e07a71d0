// Writes the benchmark stores with the project's DBX writer.
//   Usage: make-bench-stores FOLDER [MIB [NAME...]]
// MIB is the size of the large stores (default 1024); NAMEs pick stores (default: all of them).
// realistic.dbx   about MIB of mail in consecutive blocks, with other objects between the messages
// scattered.dbx   the same messages, their blocks shuffled within stretches of 8 MiB
// backward.dbx    the same messages, each stored backwards (first block last)
// distinct10k.dbx the first 10,000 of them as they are
// onesubject.dbx  the same 10,000 with one subject
// noise.dbx       MIB of noise full of the block pattern 00 02 00 00, but no message
// indexed.dbx     the realistic store's messages, each followed by its message info record, and the
//                 index's tree at the end: the store's own index lists every message
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "bench/BenchMessages.h"
#include "tests/support/DbxWriter.h"

namespace {

using testsupport::DbxWriter;
constexpr auto kBlock = static_cast<std::int64_t>(testsupport::kDbxBlockSize);
constexpr std::int64_t kScatterSpan = 8 << 20;
constexpr std::uint32_t kSubjectStoreCount = 10'000;

std::uint32_t NextRandom(std::uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

std::int64_t Blocks(const std::string& message) {
  return (static_cast<std::int64_t>(message.size()) + 511) / 512;
}

// Index nodes and folder records lie between messages in a real store.
void AppendOtherObject(DbxWriter& writer, std::uint32_t index) {
  if (index % 4 == 0) writer.AppendNoise(64 + index % 400, index + 1);
}

std::uint32_t WriteForward(const std::filesystem::path& file, const bench::MessageMaker& maker, std::int64_t size) {
  DbxWriter writer(file);
  std::uint32_t index = 0;
  while (writer.Size() < size) {
    writer.AppendMessage(maker.Make(index));
    AppendOtherObject(writer, index);
    ++index;
  }
  writer.Finish();
  return index;
}

// How many messages WriteForward puts into a store of that size, without writing it.
std::uint32_t CountForward(const bench::MessageMaker& maker, std::int64_t size) {
  std::int64_t length = static_cast<std::int64_t>(testsupport::kDbxHeaderSize);
  std::uint32_t index = 0;
  while (length < size) {
    length = (length + 3) / 4 * 4 + Blocks(maker.Make(index)) * kBlock;
    if (index % 4 == 0) length = (length + 3) / 4 * 4 + 64 + index % 400;
    ++index;
  }
  return index;
}

// The header lies at the start of a streamed store, so its index fields are set once it is written.
void WriteIndexHeader(const std::filesystem::path& file, std::int64_t count, std::int64_t root) {
  std::fstream store(file, std::ios::binary | std::ios::in | std::ios::out);
  for (const auto& [at, value] : {std::pair{0xC4, count}, std::pair{0xE4, root}}) {
    const auto word = static_cast<std::uint32_t>(value);
    const char bytes[4] = {static_cast<char>(word), static_cast<char>(word >> 8), static_cast<char>(word >> 16),
                           static_cast<char>(word >> 24)};
    store.seekp(at);
    store.write(bytes, 4);
  }
  if (!store) throw std::runtime_error("cannot write the index header of " + file.string());
}

void WriteIndexed(const std::filesystem::path& file, const bench::MessageMaker& maker, std::uint32_t count) {
  DbxWriter writer(file);
  std::vector<std::int64_t> records;
  for (std::uint32_t index = 0; index < count; ++index) {
    const std::int64_t first = writer.AppendMessage(maker.Make(index)).blockOffsets.front();
    AppendOtherObject(writer, index);
    records.push_back(writer.AppendMessageInfo({first, maker.Subject(index, true), "sender@example.jp",
                                                0x01C1E3281ABEE680u + index * 600'000'000ull, first >= 1 << 24}));
  }
  const std::int64_t root = writer.AppendIndexTree(records);
  writer.Finish();
  WriteIndexHeader(file, count, root);
}

void WriteBackward(const std::filesystem::path& file, const bench::MessageMaker& maker, std::uint32_t count) {
  DbxWriter writer(file);
  for (std::uint32_t index = 0; index < count; ++index) {
    writer.AppendBackwardMessage(maker.Make(index));
    AppendOtherObject(writer, index);
  }
  writer.Finish();
}

// Each stretch is composed in memory and then appended, its stored offsets already those of the file.
void WriteScattered(const std::filesystem::path& file, const bench::MessageMaker& maker, std::uint32_t count) {
  DbxWriter writer(file);
  std::uint32_t state = 0x2545F491u;
  std::uint32_t index = 0;
  while (index < count) {
    std::vector<std::string> messages;
    std::int64_t blocks = 0;
    while (index < count && (blocks * kBlock < kScatterSpan || messages.empty())) {
      messages.push_back(maker.Make(index++));
      blocks += Blocks(messages.back());
    }
    std::vector<std::int64_t> slots(static_cast<std::size_t>(blocks));
    std::iota(slots.begin(), slots.end(), 0);
    for (std::size_t i = slots.size(); i > 1; --i) std::swap(slots[i - 1], slots[NextRandom(state) % i]);
    const std::int64_t base = (writer.Size() + 3) / 4 * 4;
    DbxWriter stretch;
    stretch.Truncate(0);
    std::size_t next = 0;
    for (const auto& message : messages) {
      std::vector<std::int64_t> offsets;
      for (std::int64_t b = 0; b < Blocks(message); ++b) offsets.push_back(slots[next++] * kBlock);
      stretch.PlaceMessage(message, offsets, static_cast<std::int32_t>(base));
    }
    if (writer.AppendObject(stretch.Bytes()) != base) throw std::logic_error("stretch misplaced");
  }
  writer.Finish();
}

void WriteSubjects(const std::filesystem::path& file, const bench::MessageMaker& maker, const std::string& subject) {
  DbxWriter writer(file);
  for (std::uint32_t index = 0; index < kSubjectStoreCount; ++index) {
    writer.AppendMessage(maker.Make(index, subject));
    AppendOtherObject(writer, index);
  }
  writer.Finish();
}

// Candidates that fail at every test the scan makes: the bare pattern, a bad length, a first data
// byte that is no letter, and whole block headers whose own offset is wrong.
void WriteNoise(const std::filesystem::path& file, std::int64_t size) {
  DbxWriter writer(file);
  std::uint32_t state = 0x1234567u;
  std::uint32_t seed = 1;
  while (writer.Size() < size) {
    writer.AppendNoise(512 + NextRandom(state) % 3072, seed++);
    const auto at = static_cast<std::int32_t>(writer.Size());
    std::uint8_t header[17] = {0, 0, 0, 0, 0x00, 0x02, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 'M'};
    const std::int32_t own = at + 528;  // never the block's real offset
    for (int i = 0; i < 4; ++i) header[i] = static_cast<std::uint8_t>(own >> (8 * i));
    switch (NextRandom(state) % 4) {
      case 0: header[9] = 0x7F; break;     // length beyond 512
      case 1: header[10] = 1; break;       // length's upper bytes not zero
      case 2: header[16] = '7'; break;     // data that does not begin with a letter
      default: header[8] = 0x40; break;    // passes the search; only the examination rejects it
    }
    writer.AppendObject(header);
  }
  writer.Finish();
}

struct Store {
  const char* name;
  std::function<void(const std::filesystem::path&)> write;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make-bench-stores FOLDER [MIB [NAME...]]\n");
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    const std::int64_t size = (argc >= 3 ? std::atoll(argv[2]) : 1024) << 20;
    const std::vector<std::string> picked(argv + std::min(argc, 3), argv + argc);
    std::filesystem::create_directories(folder);
    const bench::MessageMaker maker;
    // The layouts store as many messages as the realistic store of this size holds.
    // indexed.dbx is written only when named, so that the stores written by default stay as they were.
    std::uint32_t count = 0;
    const std::vector<Store> stores = {
        {"realistic", [&](const auto& file) { count = WriteForward(file, maker, size); }},
        {"scattered", [&](const auto& file) { WriteScattered(file, maker, count); }},
        {"backward", [&](const auto& file) { WriteBackward(file, maker, count); }},
        {"distinct10k", [&](const auto& file) { WriteSubjects(file, maker, {}); }},
        {"onesubject", [&](const auto& file) { WriteSubjects(file, maker, maker.Subject(1)); }},
        {"noise", [&](const auto& file) { WriteNoise(file, size); }},
        {"indexed", [&](const auto& file) { WriteIndexed(file, maker, count); }},
    };
    for (const auto& store : stores) {
      const bool named = std::find(picked.begin(), picked.end(), store.name) != picked.end();
      const bool wanted = named || (picked.empty() && store.name != std::string("indexed"));
      if (!wanted) continue;
      if (count == 0 && store.name != std::string("realistic")) count = CountForward(maker, size);
      std::printf("writing %s.dbx\n", store.name);
      std::fflush(stdout);
      store.write(folder / (std::string(store.name) + ".dbx"));
    }
    if (count != 0) std::printf("%u messages in each large store\n", count);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-bench-stores: %s\n", e.what());
    return 1;
  }
  return 0;
}
