// What the scan leaves in the used-block list for duplicate removal, and how its host's answers end it.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/scan/BlockScan.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

class CountingHost final : public ScanHost {
 public:
  std::vector<std::int64_t> starts;
  bool BeginMessage() override { return true; }
  bool AppendMessageBytes(std::span<const std::uint8_t>) override { return true; }
  bool EndMessage(std::int64_t startBlock, bool) override {
    starts.push_back(startBlock);
    return true;
  }
  bool WindowAdvanced(std::int64_t) override { return true; }
  void Pump() override {}
};

UsedBlockList ScanWriter(const testsupport::DbxWriter& writer, ScanHost& host) {
  testsupport::TempFolder temp;
  const auto path = temp.Path() / "store.dbx";
  writer.Save(path);
  platform::OsError error;
  const auto file = platform::StoreFile::Open(path.u16string(), error);
  EXPECT_TRUE(file.has_value());
  const std::int64_t length = ScanLength(file->Length());
  UsedBlockList used;
  StoreReads reads(*file);
  StoreReader reader(reads, length);
  ScanStore(reader, false, used, host);
  return used;
}

TEST(UsedBlocksAfterScan, HoldTheSecondAndLaterBlocksOfEveryChain) {
  testsupport::DbxWriter writer;
  const auto a = writer.AppendMessage(testsupport::MakeMessage("a", 1100));
  const auto b = writer.AppendBackwardMessage(testsupport::MakeMessage("b", 1100));
  CountingHost host;
  const UsedBlockList used = ScanWriter(writer, host);
  EXPECT_EQ(host.starts, (std::vector<std::int64_t>{a.StartPosition(), b.StartPosition()}));
  std::vector<std::int64_t> expected;
  for (const auto* placed : {&a, &b})
    for (std::size_t i = 1; i < placed->blockOffsets.size(); ++i)
      expected.push_back(placed->blockOffsets[i] + 1);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(used.Entries(), expected);
}

TEST(UsedBlocksAfterScan, BlockThatClosesACycleIsNotEnteredAgain) {
  testsupport::DbxWriter writer;
  const auto placed = writer.AppendMessage(testsupport::MakeMessage("loop", 1536).substr(0, 1536));
  writer.PokeInt32(placed.blockOffsets[2] + 12, static_cast<std::int32_t>(placed.blockOffsets[0]));
  CountingHost host;
  const UsedBlockList used = ScanWriter(writer, host);
  EXPECT_EQ(host.starts.size(), 1u);
  EXPECT_EQ(used.Entries(), (std::vector<std::int64_t>{placed.blockOffsets[1] + 1, placed.blockOffsets[2] + 1}));
}

// Records the calls of a scan and refuses the first call of one kind.
class ProbeHost final : public ScanHost {
 public:
  explicit ProbeHost(std::string refused) : refused_(std::move(refused)) {}
  std::vector<std::string> calls;
  bool BeginMessage() override { return Answer("begin", "begin"); }
  bool AppendMessageBytes(std::span<const std::uint8_t>) override { return Answer("append", "append"); }
  bool EndMessage(std::int64_t, bool cutShort) override { return Answer("end", cutShort ? "end cut short" : "end"); }
  bool WindowAdvanced(std::int64_t) override { return Answer("advance", "advance"); }
  void Pump() override {}

 private:
  bool Answer(const std::string& kind, const std::string& call) {
    calls.push_back(call);
    if (kind != refused_) return true;
    refused_.clear();
    return false;
  }
  std::string refused_;
};

TEST(ScanHostAnswers, FalseEndsTheScanAsTheContractSays) {
  // Two two-block messages in the first and second of three windows.
  testsupport::DbxWriter writer;
  writer.AppendMessage(testsupport::MakeMessage("a", 600));
  writer.Reserve(1 << 20);
  writer.AppendMessage(testsupport::MakeMessage("b", 600));
  writer.Reserve(1 << 20);
  const struct {
    std::string refused;
    std::vector<std::string> calls;
  } cases[] = {
      {"", {"begin", "append", "append", "end", "advance", "begin", "append", "append", "end", "advance", "advance"}},
      {"begin", {"begin"}},
      {"append", {"begin", "append", "end cut short", "advance"}},
      {"end", {"begin", "append", "append", "end", "advance"}},
      {"advance", {"begin", "append", "append", "end", "advance"}},
  };
  for (const auto& c : cases) {
    ProbeHost host(c.refused);
    ScanWriter(writer, host);
    EXPECT_EQ(host.calls, c.calls) << "refused: " << c.refused;
  }
}

// A host whose answer to the first window's end is an exception, while the next window is being read.
class ThrowingHost final : public ScanHost {
 public:
  bool BeginMessage() override { return true; }
  bool AppendMessageBytes(std::span<const std::uint8_t>) override { return true; }
  bool EndMessage(std::int64_t, bool) override { return true; }
  bool WindowAdvanced(std::int64_t) override { throw std::runtime_error("host failed"); }
  void Pump() override {}
};

TEST(ScanHostAnswers, ExceptionLeavesTheScanWithTheReadAheadEnded) {
  testsupport::DbxWriter writer;
  writer.AppendMessage(testsupport::MakeMessage("a", 600));
  writer.Reserve(3 << 20);
  ThrowingHost host;
  EXPECT_THROW(ScanWriter(writer, host), std::runtime_error);
}

}  // namespace
