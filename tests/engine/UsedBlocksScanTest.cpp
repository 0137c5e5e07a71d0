// What the scan leaves in the used-block list for duplicate removal.
#include <gtest/gtest.h>

#include <vector>

#include "engine/BlockScan.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

class CountingHost final : public ScanHost {
 public:
  std::vector<std::int32_t> starts;
  bool BeginMessage() override { return true; }
  bool AppendMessageBytes(std::span<const std::uint8_t>) override { return true; }
  bool EndMessage(std::int32_t startBlock, bool) override {
    starts.push_back(startBlock);
    return true;
  }
  bool WindowAdvanced(std::int64_t) override { return true; }
  void Pump() override {}
};

UsedBlockList ScanWriter(const testsupport::DbxWriter& writer, CountingHost& host) {
  testsupport::TempFolder temp;
  const auto path = temp.Path() / "store.dbx";
  writer.Save(path);
  platform::OsError error;
  const auto file = platform::StoreFile::Open(path.u16string(), error);
  EXPECT_TRUE(file.has_value());
  const std::int32_t length = ScanLength(file->Length());
  UsedBlockList used;
  StoreReader reader(*file, length);
  ScanStore(reader, false, used, host);
  return used;
}

TEST(UsedBlocksAfterScan, HoldTheSecondAndLaterBlocksOfEveryChain) {
  testsupport::DbxWriter writer;
  const auto a = writer.AppendMessage(testsupport::MakeMessage("a", 1100));
  const auto b = writer.AppendBackwardMessage(testsupport::MakeMessage("b", 1100));
  CountingHost host;
  const UsedBlockList used = ScanWriter(writer, host);
  EXPECT_EQ(host.starts, (std::vector<std::int32_t>{static_cast<std::int32_t>(a.StartPosition()),
                                                    static_cast<std::int32_t>(b.StartPosition())}));
  std::vector<std::int32_t> expected;
  for (const auto* placed : {&a, &b})
    for (std::size_t i = 1; i < placed->blockOffsets.size(); ++i)
      expected.push_back(static_cast<std::int32_t>(placed->blockOffsets[i] + 1));
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
  EXPECT_EQ(used.Entries(), (std::vector<std::int32_t>{static_cast<std::int32_t>(placed.blockOffsets[1] + 1),
                                                      static_cast<std::int32_t>(placed.blockOffsets[2] + 1)}));
}

}  // namespace
