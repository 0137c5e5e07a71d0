// Freed messages found, linked, rebuilt and written, on stores composed the way Outlook Express frees.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "convert/Decoders.h"
#include "engine/freed/FreedChains.h"
#include "engine/freed/FreedOutput.h"
#include "engine/naming/MailFileTime.h"
#include "platform/Utf.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/FileTimesProbe.h"
#include "tests/support/MemoryBlocks.h"
#include "tests/support/ScratchFolder.h"

namespace {

using testsupport::DbxWriter;

struct Row {
  std::string name, offset, blocks, bytes, state, lost;
  std::string file;  // the file's contents
};

// The message as it comes back: the first 4 bytes of each 512 lost, and only its first blocks kept.
std::string Lossy(std::string message, std::size_t blocks = 99) {
  message = message.substr(0, std::min(message.size(), blocks * 512));
  for (std::size_t at = 0; at < message.size(); at += 512) message.replace(at, 4, "????");
  return message;
}

class Freed : public ::testing::Test {
 protected:
  static FreedChains Chains(const std::vector<std::uint8_t>& store, bool pointerCheck = true) {
    return FreedChains(testsupport::SearchFreedBlocks(store, pointerCheck), static_cast<std::int64_t>(store.size()));
  }
  std::vector<Row> Recover(const std::vector<std::uint8_t>& store, bool pointerCheck = true) {
    testsupport::MemoryBlocks blocks(store);
    const std::atomic<bool> stop{false};
    result_ = WriteFreedMessages(Chains(store, pointerCheck), blocks, temp_.Path().u16string(), stop,
                                 [](std::size_t, std::size_t) {});
    EXPECT_FALSE(result_.failure);
    return Rows();
  }
  std::vector<Row> Recover(const DbxWriter& writer) { return Recover(writer.Bytes()); }

  std::vector<Row> Rows() const {
    std::vector<Row> rows;
    const auto folder = FreedFolder();
    if (!std::filesystem::exists(folder)) return rows;
    const auto report = testsupport::ReadFileBytes(folder / std::filesystem::path(u"復元レポート.tsv"));
    std::istringstream lines(std::string(report.begin(), report.end()));
    std::string line;
    std::getline(lines, line);  // the header row
    while (std::getline(lines, line)) {
      Row row;
      std::istringstream cells(line.substr(0, line.size() - 1));  // without its CR
      for (std::string* cell : {&row.name, &row.offset, &row.blocks, &row.bytes, &row.state, &row.lost})
        std::getline(cells, *cell, '\t');
      const auto bytes = testsupport::ReadFileBytes(folder / std::filesystem::path(platform::FromUtf8(row.name)));
      row.file.assign(bytes.begin(), bytes.end());
      rows.push_back(row);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}),
              static_cast<std::ptrdiff_t>(rows.size() + 1));
    return rows;
  }

  std::filesystem::path FreedFolder() const { return temp_.Path() / std::filesystem::path(u"削除済みメール"); }
  // Empties the run's folder for the next case of a test.
  void Clear() const { std::filesystem::remove_all(FreedFolder()); }

  testsupport::ScratchFolder temp_;
  FreedOutputResult result_;
};

TEST_F(Freed, TwoMessagesFreedOneAfterTheOther) {
  DbxWriter writer;
  const std::string first = testsupport::MakeMessage("first", 1300, 1);
  const std::string second = testsupport::MakeMessage("second", 700, 2);
  const auto a = writer.AppendMessage(first);
  writer.AppendMessage(testsupport::MakeMessage("live", 600, 3));
  const auto b = writer.AppendMessage(second);
  writer.FreeMessage(a);
  writer.FreeMessage(b);
  const std::vector<Row> rows = Recover(writer);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(result_.written, 2);
  EXPECT_EQ(rows[0].name, "first.eml");
  EXPECT_EQ(rows[0].file, Lossy(first));
  char offset[16];
  std::snprintf(offset, sizeof offset, "0x%08llX", static_cast<unsigned long long>(a.blockOffsets[0]));
  EXPECT_EQ(rows[0].offset, offset);
  EXPECT_EQ(rows[0].blocks + " " + rows[0].bytes + " " + rows[0].state + " " + rows[0].lost,
            "3 " + std::to_string(first.size()) + " 完全 0-3,512-515,1024-1027");
  EXPECT_EQ(rows[1].name, "second.eml");
  EXPECT_EQ(rows[1].file, Lossy(second));
  EXPECT_EQ(rows[1].state, "完全");
  const auto times = testsupport::ReadFileTimes((FreedFolder() / "first.eml").u16string());
  ASSERT_TRUE(times);
  EXPECT_EQ(times->lastWrite, DateToFileTime(MailDate{2002, 7, 6, 10, 20, 30}));
}

TEST_F(Freed, LinksThroughOverlappingHeadersTakeEachByteOnce) {
  // A freed message whose last block goes on to headers 20 bytes apart, each naming the one before:
  // blocks of a store never overlap, so the chain ends at the first that overlaps one taken, rather
  // than making a file many times the store's size.
  DbxWriter writer;
  const std::string message = testsupport::MakeMessage("overlap", 700, 6);
  const auto a = writer.AppendMessage(message);
  writer.FreeMessage(a);
  const std::int64_t run = writer.Reserve(64 * 1024);
  writer.PokeInt32(a.blockOffsets.back() + 12, static_cast<std::int32_t>(run));
  for (std::int64_t at = run, before = a.blockOffsets.back(); at + 40 < writer.Size(); before = at, at += 20) {
    const std::int64_t words[] = {at, 0x1FC, 0x210, at + 20, before};
    for (std::size_t i = 0; i < std::size(words); ++i)
      writer.PokeInt32(at + static_cast<std::int64_t>(4 * i), static_cast<std::int32_t>(words[i]));
  }
  const std::vector<Row> rows = Recover(writer);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].blocks + rows[0].state, "3部分");
}

TEST_F(Freed, FilesTakeClashSuffixesAndRefusedNamesTheWorkingName) {
  DbxWriter writer;
  std::uint32_t seed = 20;
  for (const char* subject : {"same", "same", "CON", "same"})
    writer.FreeMessage(writer.AppendMessage(testsupport::MakeMessage(subject, 300, seed++)));
  std::string names;
  for (const Row& row : Recover(writer)) names += row.name + " ";
  EXPECT_EQ(names, "same.eml same(1).eml Recover3.eml same(2).eml ");
}

TEST_F(Freed, StopEndsThePhaseAfterTheCurrentFile) {
  DbxWriter writer;
  for (std::uint32_t seed = 1; seed <= 3; ++seed)
    writer.FreeMessage(writer.AppendMessage(testsupport::MakeMessage("stop", 300, seed)));
  testsupport::MemoryBlocks blocks(writer.Bytes());
  std::atomic<bool> stop{false};
  const auto result = WriteFreedMessages(Chains(writer.Bytes()), blocks, temp_.Path().u16string(), stop,
                                         [&stop](std::size_t done, std::size_t) { stop = done == 1; });
  EXPECT_EQ(result.written, 1);
  EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(Freed, FailedWriteIsHandedBack) {
  DbxWriter writer;
  writer.FreeMessage(writer.AppendMessage(testsupport::MakeMessage("lost", 300)));
  testsupport::MemoryBlocks blocks(writer.Bytes());
  const std::atomic<bool> stop{false};
  const auto missing = temp_.Path() / "missing";
  const auto result =
      WriteFreedMessages(Chains(writer.Bytes()), blocks, missing.u16string(), stop, [](std::size_t, std::size_t) {});
  EXPECT_EQ(result.written, 0);
  ASSERT_TRUE(result.failure);
  EXPECT_EQ(result.failure->path, (missing / std::filesystem::path(u"削除済みメール")).u16string());
}

TEST_F(Freed, LastBlockReusedByALiveMessageLeavesAPartialMessage) {
  DbxWriter writer;
  const std::string message = testsupport::MakeMessage("reused", 1300, 4);
  const auto a = writer.AppendMessage(message);
  writer.FreeMessage(a);
  writer.PlaceMessage(testsupport::MakeMessage("live", 300, 5), {a.blockOffsets[2]});
  const std::vector<Row> rows = Recover(writer);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].file, Lossy(message, 2));
  EXPECT_EQ(rows[0].blocks + rows[0].state, "2部分");
}

TEST_F(Freed, MultipartMessageEndsBeforeTheOlderTextOfItsLastBlock) {
  const std::string header =
      "From: a@b\r\nSubject: parts\r\nContent-Type: multipart/mixed; boundary=\"=_x\"\r\n\r\n--=_x\r\n\r\n";
  const std::string closing = "\r\n--=_x--\r\n";
  const std::string message = header + std::string(1024 + 100 - header.size() - closing.size(), 'x') + closing;
  DbxWriter writer;
  const auto a = writer.AppendMessage(message);
  const std::string_view older = "older text\r\n--=_x--\r\n";
  writer.Poke(a.blockOffsets[2] + 16 + 100,
              std::span(reinterpret_cast<const std::uint8_t*>(older.data()), older.size()));
  writer.FreeMessage(a);
  const std::vector<Row> rows = Recover(writer);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].file, Lossy(message));
}

TEST_F(Freed, FreedTreeNodesAndIndexObjectsAreNotWritten) {
  DbxWriter writer;
  writer.AppendFreedTreeNode();
  std::vector<std::uint8_t> index(512);
  for (std::size_t i = 0; i < index.size(); ++i) index[i] = static_cast<std::uint8_t>(i * 7);
  writer.AppendFreedObject(index);
  EXPECT_TRUE(Recover(writer).empty());
  EXPECT_EQ(result_.written, 0);
  EXPECT_FALSE(std::filesystem::exists(FreedFolder()));
}

TEST_F(Freed, BlockReusedAndFreedAgainIsNotSplicedIntoTheOlderMessage) {
  DbxWriter writer;
  const std::string older = testsupport::MakeMessage("older", 1300, 6);
  const std::string newer = testsupport::MakeMessage("newer", 900, 7);
  const auto a = writer.AppendMessage(older);
  writer.FreeMessage(a);
  const auto c = writer.PlaceMessage(newer, {writer.Reserve(528), a.blockOffsets[1]});
  writer.FreeMessage(c);
  const std::vector<Row> rows = Recover(writer);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].file, Lossy(older, 1));
  EXPECT_EQ(rows[1].file, Lossy(older.substr(1024)));  // its third block, whose first ones are gone
  EXPECT_EQ(rows[2].file, Lossy(newer));
  EXPECT_EQ(rows[0].state + rows[1].state + rows[2].state, "部分部分完全");
}

TEST_F(Freed, StoreEndingRightAfterAFreedBlockGivesNoPhantom) {
  for (const std::int64_t cut : {0, 300}) {
    DbxWriter writer;
    const std::string message = testsupport::MakeMessage("end", 700, 8);
    writer.FreeMessage(writer.AppendMessage(message));
    writer.Truncate(writer.Size() - cut);
    const std::vector<Row> rows = Recover(writer);
    ASSERT_EQ(rows.size(), 1u) << cut;
    EXPECT_EQ(rows[0].file, Lossy(message)) << cut;
    Clear();
  }
}

TEST_F(Freed, WordsPastTheEndOfTheFileKeepTheBlocksOwnData) {
  struct Case {
    std::int64_t word;  // block offset of the word set past the end
    const char* state;
  };
  for (const Case c : {Case{12, "部分"}, Case{16, "完全"}}) {
    DbxWriter writer;
    const std::string message = testsupport::MakeMessage("edge", 400, 9);
    const auto a = writer.AppendMessage(message);
    writer.FreeMessage(a);
    writer.PokeInt32(a.blockOffsets[0] + c.word, 0x7FFFFF00);
    const std::vector<Row> rows = Recover(writer);
    ASSERT_EQ(rows.size(), 1u) << c.word;
    EXPECT_EQ(rows[0].file, Lossy(message)) << c.word;
    EXPECT_EQ(rows[0].state, c.state) << c.word;
    Clear();
  }
}

TEST_F(Freed, PointerCheckOffFindsAStoreShiftedInsideALargerFile) {
  DbxWriter writer;
  const std::string first = testsupport::MakeMessage("shifted", 1300, 10);
  const std::string second = testsupport::MakeMessage("moved", 600, 11);
  writer.FreeMessage(writer.AppendMessage(first));
  writer.FreeMessage(writer.AppendMessage(second));
  std::vector<std::uint8_t> image(4099, 0x5A);
  image.insert(image.end(), writer.Bytes().begin(), writer.Bytes().end());
  image.resize(image.size() + 1000, 0);
  EXPECT_TRUE(Recover(image, true).empty());
  const std::vector<Row> rows = Recover(image, false);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].file, Lossy(first));
  EXPECT_EQ(rows[1].file, Lossy(second));
}

std::string Base64Lines(const std::vector<std::uint8_t>& bytes, std::size_t lineLength) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::uint32_t group =
        bytes[i] << 16 | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0) | (i + 2 < bytes.size() ? bytes[i + 2] : 0);
    for (std::size_t k = 0; k < 4; ++k) text += i + k <= bytes.size() ? kAlphabet[(group >> (18 - 6 * k)) & 63] : '=';
  }
  std::string lines;
  for (std::size_t at = 0; at < text.size(); at += lineLength) lines += text.substr(at, lineLength) + "\r\n";
  return lines;
}

std::vector<std::uint8_t> DecodeLines(const std::string& lines) {
  std::u16string text;
  for (const char c : lines)
    if (c != '\r' && c != '\n') text += static_cast<char16_t>(c);
  return DecodeBase64(text);
}

TEST_F(Freed, Base64AttachmentKeepsItsSizeAndLosesAtMostFourBytesAGap) {
  std::vector<std::uint8_t> attachment(20 * 1024 + 7);
  std::uint32_t state = 99;
  for (auto& byte : attachment) byte = static_cast<std::uint8_t>((state = state * 1103515245u + 12345u) >> 24);
  for (const std::size_t lineLength : {76u, 64u}) {
    const std::string head =
        "From: a@b\r\nSubject: picture\r\nContent-Type: multipart/mixed; boundary=\"=_b\"\r\n\r\n"
        "--=_b\r\n\r\nsee it\r\n--=_b\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    const std::string encoded = Base64Lines(attachment, lineLength);
    const std::string message = head + encoded + "--=_b--\r\n";
    DbxWriter writer;
    writer.FreeMessage(writer.AppendMessage(message));
    const std::vector<Row> rows = Recover(writer);
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(rows[0].file.size(), message.size()) << lineLength;
    const std::string rebuilt = rows[0].file.substr(head.size(), encoded.size());
    for (std::size_t i = 0; i < rebuilt.size(); ++i)
      ASSERT_EQ(rebuilt[i] == '\r' || rebuilt[i] == '\n', encoded[i] == '\r' || encoded[i] == '\n')
          << lineLength << " at " << i;
    const std::vector<std::uint8_t> decoded = DecodeLines(rebuilt);
    ASSERT_EQ(decoded.size(), DecodeLines(encoded).size()) << lineLength;
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < attachment.size(); ++i) wrong += decoded[i] != attachment[i] ? 1 : 0;
    EXPECT_LE(wrong, 4 * (message.size() / 512)) << lineLength;
    EXPECT_GT(wrong, 0u) << lineLength;
    Clear();
  }
}

}  // namespace
