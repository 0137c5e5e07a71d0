// The block scan and message assembly, run end to end through RecoverMails on composed stores.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

using testsupport::DbxWriter;
using testsupport::RecordingUi;
using testsupport::RunResult;

constexpr std::int64_t kBlock = 528;
constexpr std::int64_t kMiB = 1'048'576;

// A message of exactly size bytes whose block data starts with the given letters (one per block).
std::string MessageOf(std::size_t size, const std::string& blockStarts = "") {
  std::string text = testsupport::MakeMessage("test", size).substr(0, size);
  for (std::size_t i = 0; i < blockStarts.size(); ++i) text[i * 512] = blockStarts[i];
  return text;
}

std::string LittleEndian(std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  return {static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16), static_cast<char>(u >> 24)};
}

// Block header bytes followed by data, to hide inside another message's data.
std::string HiddenBlock(std::int64_t offset, const std::string& data) {
  return LittleEndian(static_cast<std::int32_t>(offset)) + LittleEndian(512) +
         LittleEndian(static_cast<std::int32_t>(data.size())) + LittleEndian(0) + data;
}

class Scan : public ::testing::Test {
 protected:

  RunResult Recover(const DbxWriter& writer, bool skipPointerCheck = false) {
    const auto store = temp_.Path() / "store.dbx";
    writer.Save(store);
    RecordingUi ui(temp_.Path().u16string());
    return testsupport::RunRecovery(store, ui, skipPointerCheck);
  }

  testsupport::TempFolder temp_;
};

TEST_F(Scan, MessagesInConsecutiveBlocksComeOutByteForByte) {
  DbxWriter writer;
  // The last two: the longest message written as the header's reader read it, and one byte more.
  const std::vector<std::string> messages{MessageOf(1),    MessageOf(300),  MessageOf(512),  MessageOf(1200),
                                          MessageOf(1536), MessageOf(5000), MessageOf(65536), MessageOf(65537)};
  std::vector<std::int64_t> starts;
  for (std::size_t i = 0; i < messages.size(); ++i) {
    starts.push_back(writer.AppendMessage(messages[i]).StartPosition());
    writer.AppendNoise(36 + 4 * i, static_cast<std::uint32_t>(i + 1));  // other objects between messages
  }
  const RunResult run = Recover(writer);
  EXPECT_EQ(run.outcome.result, RecoveryResult::Completed);
  EXPECT_EQ(run.outcome.messageCount, static_cast<std::int32_t>(messages.size()));
  ASSERT_EQ(run.files.size(), messages.size());
  for (std::size_t i = 0; i < messages.size(); ++i) {
    EXPECT_EQ(run.files[i], messages[i]) << i;
    EXPECT_EQ(run.records[i].StartBlock, starts[i]) << i;
    EXPECT_EQ(run.records[i].Status, 1) << i;
    EXPECT_EQ(run.records[i].Length, static_cast<std::int64_t>(messages[i].size())) << i;
  }
}

TEST_F(Scan, OnlyBlocksWhoseDataStartsWithAnAsciiLetterStartMessages) {
  struct Case {
    char first;
    bool found;
  };
  const Case cases[] = {{'A', true}, {'Z', true}, {'a', true}, {'z', true}, {'@', false}, {'[', false},
                        {'`', false}, {'{', false}, {'1', false}, {' ', false}, {'\x80', false}, {'\xC1', false}};
  for (const auto& c : cases) {
    DbxWriter writer;
    std::string message = MessageOf(100);
    message[0] = c.first;
    writer.AppendMessage(message);
    EXPECT_EQ(Recover(writer).files.size(), c.found ? 1u : 0u) << "first byte " << int(c.first);
  }
}

TEST_F(Scan, BlockAtFileOffsetZeroNeverStartsAMessage) {
  for (const bool skip : {false, true}) {
    DbxWriter writer;
    writer.Truncate(0);
    writer.PlaceMessage(MessageOf(100), {0});
    writer.Reserve(2000);
    EXPECT_TRUE(Recover(writer, skip).files.empty()) << "pointer check skipped: " << skip;
  }
}

TEST_F(Scan, HeaderTestsRejectCandidates) {
  struct Case {
    const char* what;
    std::int64_t fieldOffset;
    std::int32_t value;
  };
  const Case cases[] = {
      {"own offset elsewhere", 0, 0x100},
      {"length 0", 8, 0},
      {"length over 512", 8, 513},
      {"length with a high half", 8, 0x10010},
  };
  for (const auto& c : cases) {
    DbxWriter writer;
    const auto placed = writer.AppendMessage(MessageOf(100));
    writer.PokeInt32(placed.blockOffsets[0] + c.fieldOffset, c.value);
    EXPECT_TRUE(Recover(writer).files.empty()) << c.what;
  }
}

TEST_F(Scan, OneBlockMessageYieldsItsDataLengthAndThreeBlocksYieldTwoFullBlocksAndTheRest) {
  DbxWriter writer;
  const auto one = writer.AppendMessage(MessageOf(77));
  writer.AppendMessage(MessageOf(512 + 512 + 100));
  const RunResult run = Recover(writer);
  ASSERT_EQ(run.files.size(), 2u);
  EXPECT_EQ(run.files[0].size(), 77u);
  EXPECT_EQ(run.files[1].size(), 1124u);
  EXPECT_EQ(run.records[0].StartBlock, one.StartPosition());
}

TEST_F(Scan, SearchResumesInsideTheLastContiguousBlockOfAMessage) {
  // Blocks hidden in the data of a three-block message: those in its first two blocks lie behind the
  // resumed search, the one in its last block is found.
  DbxWriter writer;
  const std::int64_t at = writer.Reserve(3 * kBlock);
  std::string message = MessageOf(1536);
  const auto hide = [&](std::size_t block, const std::string& data) {
    const std::size_t inData = 100;
    const std::string hidden = HiddenBlock(at + static_cast<std::int64_t>(block) * kBlock + 16 + inData, data);
    message.replace(block * 512 + inData, hidden.size(), hidden);
  };
  hide(0, "Hidden in the first block");
  hide(1, "Hidden in the second block");
  hide(2, "Hidden in the third block");
  writer.PlaceMessage(message, {at, at + kBlock, at + 2 * kBlock});
  const RunResult run = Recover(writer);
  ASSERT_EQ(run.files.size(), 2u);
  EXPECT_EQ(run.files[0], message);
  EXPECT_EQ(run.files[1], "Hidden in the third block");
}

TEST_F(Scan, BackwardChainIsFoundAtAnyLetterBlockAndStartsAtItsFirstBlock) {
  // The blocks lie last block first; the scan meets the physically first block whose data starts
  // with a letter and the start adjustment moves to the message's real first block.
  for (const std::string starts : {"FAA", "FA1", "F11"}) {
    DbxWriter writer;
    const std::string message = MessageOf(1300, starts);
    const auto placed = writer.AppendBackwardMessage(message);
    const std::string after = MessageOf(200);
    writer.AppendMessage(after);
    const RunResult run = Recover(writer);
    ASSERT_EQ(run.files.size(), 2u) << starts;
    EXPECT_EQ(run.files[0], message) << starts;
    EXPECT_EQ(run.records[0].StartBlock, placed.StartPosition()) << starts;
    EXPECT_EQ(run.files[1], after) << starts;
  }
}

TEST_F(Scan, ScatteredChainIsFollowedAndItsLaterBlocksAreNotTakenAsStarts) {
  DbxWriter writer;
  const std::string message = MessageOf(1400, "FAB");
  const std::int64_t first = writer.Reserve(kBlock);
  writer.AppendNoise(400, 7);
  const std::int64_t third = writer.Reserve(kBlock);
  writer.AppendNoise(1000, 8);
  const std::int64_t second = writer.Reserve(kBlock);
  writer.PlaceMessage(message, {first, second, third});
  const RunResult run = Recover(writer);
  ASSERT_EQ(run.files.size(), 1u);
  EXPECT_EQ(run.files[0], message);
}

TEST_F(Scan, TailBlockMetBeforeItsMessageIsExtractedOnItsOwnThenRemoved) {
  // The tail lies physically first, so it is taken as a message before the chain passes through it;
  // the duplicate pass then deletes that piece and keeps the whole message.
  DbxWriter writer;
  const std::string message = MessageOf(700, "FT");
  const std::int64_t tail = writer.Reserve(kBlock);
  writer.AppendNoise(200, 3);
  const std::int64_t head = writer.Reserve(kBlock);
  writer.PlaceMessage(message, {head, tail});
  const RunResult run = Recover(writer);
  ASSERT_EQ(run.records.size(), 2u);
  EXPECT_EQ(run.records[0].StartBlock, tail + 1);
  EXPECT_EQ(run.records[0].Status, 0);
  EXPECT_TRUE(run.records[0].FileName.empty()) << "no file is made for a tail piece";
  ASSERT_EQ(run.files.size(), 1u);
  EXPECT_EQ(run.files[0], message);
  EXPECT_EQ(run.outcome.messageCount, 1);
}

TEST_F(Scan, DisplacedCopyIsFollowedOnlyWithThePointerCheckOff) {
  DbxWriter writer;
  const std::string live = MessageOf(900);
  writer.AppendMessage(live);
  const std::string stale = MessageOf(1400, "SAB");
  const std::int64_t a = writer.Reserve(kBlock);
  writer.AppendNoise(64, 9);
  const std::int64_t b = writer.Reserve(2 * kBlock);
  writer.PlaceMessage(stale, {a, b + kBlock, b}, 0x8000);

  const RunResult checked = Recover(writer, false);
  ASSERT_EQ(checked.files.size(), 1u);
  EXPECT_EQ(checked.files[0], live);

  const RunResult unchecked = Recover(writer, true);
  ASSERT_EQ(unchecked.files.size(), 2u);
  EXPECT_EQ(unchecked.files[0], live);
  EXPECT_EQ(unchecked.files[1], stale);
  EXPECT_EQ(unchecked.records[1].StartBlock, a + 1);
}

TEST_F(Scan, FinalBlockSuppliesItsDataLengthWhateverEndedTheChain) {
  struct Case {
    const char* what;
    std::int64_t fieldOffset;  // in the second block
    std::int32_t value;        // -1: the block's own offset
    std::size_t expectedSize;
  };
  const Case cases[] = {
      {"last block", 12, 0, 512 + 300},
      {"self-reference", 12, -1, 512 + 300},
      {"wrong area size", 4, 0x100, 512 + 300},
      {"length over 512", 8, 600, 512 + 512},
      {"length 0", 8, 0, 512},
      {"negative length", 8, -5, 512},
  };
  for (const auto& c : cases) {
    DbxWriter writer;
    const std::string message = MessageOf(812);
    const auto placed = writer.AppendMessage(message);
    const std::int64_t second = placed.blockOffsets[1];
    writer.PokeInt32(second + c.fieldOffset, c.value == -1 ? static_cast<std::int32_t>(second) : c.value);
    writer.AppendNoise(64, 5);
    const RunResult run = Recover(writer);
    ASSERT_EQ(run.files.size(), 1u) << c.what;
    std::string expected = message + std::string(512 + 512 - message.size(), '\0');
    EXPECT_EQ(run.files[0], expected.substr(0, c.expectedSize)) << c.what;
    EXPECT_EQ(run.records[0].Status, 1) << c.what;
  }
}

TEST_F(Scan, ReadFailureKeepsTheBytesSoFarAndSkipsTheFinalBlock) {
  struct Case {
    const char* what;
    std::int32_t ownOffset;   // -1: the real one
    std::int32_t nextOffset;  // of the second block
    bool skipPointerCheck;
  };
  const Case cases[] = {
      {"next block beyond the end of the file", -1, 0x7FFF0000, false},
      {"next offset negative", -1, -1000, false},
      {"next position below 1", -1, 0, false},  // patched below to Own - B
      {"next position beyond 2 GiB", 16, 0x7FFFFFF0, true},
      {"next position far below 0", 0x7FFFFFF0, 0x3FFFFFF0, true},
  };
  for (const auto& c : cases) {
    DbxWriter writer;
    const std::string message = MessageOf(1536, "FA1");  // the unreached third block starts nothing;
    const auto placed = writer.AppendMessage(message);
    const std::int64_t second = placed.blockOffsets[1];
    const std::int32_t own = c.ownOffset == -1 ? static_cast<std::int32_t>(second) : c.ownOffset;
    writer.PokeInt32(second, own);
    // "below 1": next offset chosen so that the next position is exactly 0.
    const std::int32_t next =
        std::string(c.what) == "next position below 1" ? static_cast<std::int32_t>(own - second - 1) : c.nextOffset;
    writer.PokeInt32(second + 12, next);
    const RunResult run = Recover(writer, c.skipPointerCheck);
    ASSERT_EQ(run.files.size(), 1u) << c.what;
    EXPECT_EQ(run.files[0], message.substr(0, 1024)) << c.what;
    EXPECT_EQ(run.records[0].Status, 3) << c.what;
  }
}

TEST_F(Scan, ChainLeadingBackIntoItselfOrOntoItsOwnBytesEndsAsAfterAReadFailure) {
  struct Case {
    const char* what;
    int blocks;  // of the message, all full; the last names target as next
    int target;
    int into = 0;  // bytes into the target block; a block header of a last block waits there
  };
  const Case cases[] = {{"back to the start", 3, 0},
                        {"back to the second block", 3, 1},
                        {"a long chain back into its middle", 300, 150},
                        {"a long chain back to the start", 300, 0},
                        {"into its own second block's data, at a block header", 3, 1, 16}};
  for (const auto& c : cases) {
    DbxWriter writer;
    // A message before it walks the same positions' neighbours, which must not count as visited.
    const std::string before = MessageOf(512 * 200);
    writer.AppendMessage(before);
    std::string message = MessageOf(512 * static_cast<std::size_t>(c.blocks));
    const auto placed = writer.AppendMessage(message);
    const std::int64_t target = placed.blockOffsets[c.target] + c.into;
    if (c.into > 0) {
      // A header that a chain through overlapping blocks would take as its last block, adding 100 bytes.
      const std::string header = HiddenBlock(target, std::string(100, '\x01')).substr(0, 17);
      message.replace(static_cast<std::size_t>(512 * c.target + c.into - 16), header.size(), header);
      writer.Poke(target, std::span(reinterpret_cast<const std::uint8_t*>(header.data()), header.size()));
    }
    writer.PokeInt32(placed.blockOffsets.back() + 12, static_cast<std::int32_t>(target));
    const RunResult run = Recover(writer);
    ASSERT_EQ(run.files.size(), 2u) << c.what;
    EXPECT_EQ(run.files[0], before) << c.what;
    EXPECT_EQ(run.files[1], message) << c.what;  // every block full, no final block
    EXPECT_EQ(run.records[1].Status, 3) << c.what;
  }
}

TEST_F(Scan, BlockRunningPastTheEndOfTheFileReadsZeros) {
  DbxWriter writer;
  const std::string message = MessageOf(812);
  const auto placed = writer.AppendMessage(message);
  writer.Truncate(placed.blockOffsets[1] + 16 + 100);
  const RunResult run = Recover(writer);
  ASSERT_EQ(run.files.size(), 1u);
  EXPECT_EQ(run.files[0], message.substr(0, 612) + std::string(200, '\0'));
  EXPECT_EQ(run.records[0].Status, 1);
}

TEST_F(Scan, StartAdjustmentStopsAtTheEndOfTheFile) {
  // The following block names the candidate as its successor but stores offset 0; the zeros after it
  // would carry the adjustment on forever.
  DbxWriter writer;
  const auto placed = writer.AppendMessage(MessageOf(100));
  const std::int64_t candidate = placed.blockOffsets[0];
  writer.WriteBlockHeader(candidate + kBlock, {0, 0x200, 10, static_cast<std::int32_t>(candidate)});
  writer.Reserve(3 * kBlock + 100);
  const RunResult run = Recover(writer);
  ASSERT_EQ(run.files.size(), 1u);
  EXPECT_EQ(run.files[0], "");
  EXPECT_GT(run.records[0].StartBlock, candidate + kBlock);
  EXPECT_LE(run.records[0].StartBlock, writer.Size());
}

TEST_F(Scan, StoreShorterThanOneBlockGrowsItsUsedBlockList) {
  DbxWriter writer;
  writer.Truncate(0);
  writer.WriteBlockHeader(8, {8, 0x200, 512, 200});
  writer.Poke(24, std::vector<std::uint8_t>(476, 'A'));
  writer.WriteBlockHeader(200, {200, 0x200, 10, 0});
  const std::string tail = "Bravo12345";
  writer.Poke(216, std::vector<std::uint8_t>(tail.begin(), tail.end()));
  writer.Truncate(500);
  const auto& bytes = writer.Bytes();
  // The block at 200 overlaps the first, so the chain ends before it and it is a message of its own.
  const std::string expected = std::string(bytes.begin() + 24, bytes.end()) + std::string(36, '\0');
  const RunResult run = Recover(writer);
  ASSERT_EQ(run.files.size(), 2u);
  EXPECT_EQ(run.files[0], expected);
  EXPECT_EQ(run.records[0].Status, 3);
  EXPECT_EQ(run.files[1], tail);
}

TEST_F(Scan, FilesTooShortForACandidateYieldNothing) {
  for (const std::size_t size : {0u, 1u, 4u, 16u}) {
    DbxWriter writer;
    writer.Truncate(static_cast<std::int64_t>(size));
    const RunResult run = Recover(writer);
    EXPECT_TRUE(run.files.empty()) << size;
    EXPECT_EQ(run.outcome.result, RecoveryResult::Completed) << size;
  }
}

// Window boundaries: a window covers 1 MiB + 13 bytes; matches are taken up to window position 1 MiB.
TEST_F(Scan, MatchInTheFirstBytesOfAWindowIsFoundWhateverEndedThePreviousWindow) {
  // The block at file offset 1 MiB - 4 has its AreaSize field at position 1 of the second window.
  const std::int64_t straddling = kMiB - 4;
  // Without a message the first window's search finds nothing; with one it ends with a resumed search.
  for (const bool messageInFirstWindow : {false, true}) {
    DbxWriter writer;
    if (messageInFirstWindow) writer.AppendMessage(MessageOf(100));
    writer.Reserve(static_cast<std::size_t>(straddling - writer.Size()));
    const std::string message = MessageOf(300);
    writer.AppendMessage(message);
    const RunResult run = Recover(writer);
    ASSERT_EQ(run.files.size(), messageInFirstWindow ? 2u : 1u) << messageInFirstWindow;
    EXPECT_EQ(run.files.back(), message) << messageInFirstWindow;
    EXPECT_EQ(run.records.back().StartBlock, straddling + 1) << messageInFirstWindow;
  }
}

TEST_F(Scan, MatchBeyondWindowPositionOneMiBIsTakenOnceInTheNextWindow) {
  for (const std::int64_t offset : {kMiB, kMiB + 4, kMiB + 8}) {
    DbxWriter writer;
    writer.AppendMessage(MessageOf(100));
    writer.Reserve(static_cast<std::size_t>(offset - writer.Size()));
    const std::string message = MessageOf(600);
    writer.AppendMessage(message);
    const RunResult run = Recover(writer);
    ASSERT_EQ(run.files.size(), 2u) << offset;
    EXPECT_EQ(run.files[1], message) << offset;
    EXPECT_EQ(run.records[1].StartBlock, offset + 1) << offset;
  }
}

TEST_F(Scan, LongMessageCarriesTheSearchAcrossTheWindowsItCovers) {
  // A 3 MiB message: blocks hidden in its middle lie in windows the scan skips; the one in its last
  // block and the message after it are found.
  DbxWriter writer;
  const std::size_t blocks = 6000;
  const std::int64_t at = writer.Reserve(blocks * kBlock);
  std::string message = MessageOf(blocks * 512 - 200);
  const auto hide = [&](std::size_t block, const std::string& data) {
    const std::string hidden = HiddenBlock(at + static_cast<std::int64_t>(block) * kBlock + 16 + 40, data);
    message.replace(block * 512 + 40, hidden.size(), hidden);
  };
  hide(2500, "Hidden in the middle");
  hide(blocks - 1, "Hidden at the end");
  std::vector<std::int64_t> offsets;
  for (std::size_t i = 0; i < blocks; ++i) offsets.push_back(at + static_cast<std::int64_t>(i) * kBlock);
  writer.PlaceMessage(message, offsets);
  const std::string after = MessageOf(300);
  writer.AppendMessage(after);
  const RunResult run = Recover(writer);
  ASSERT_EQ(run.files.size(), 3u);
  EXPECT_EQ(run.files[0], message);
  EXPECT_EQ(run.files[1], "Hidden at the end");
  EXPECT_EQ(run.files[2], after);
}

}  // namespace
