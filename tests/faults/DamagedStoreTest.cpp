// Stores cut short anywhere and stores too small to hold a block: every run completes, recovers
// what lies whole before the cut, and leaves the store as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

namespace fs = std::filesystem;
using testsupport::DbxWriter;
using testsupport::RecordingUi;

class DamagedStore : public ::testing::Test {
 protected:

  testsupport::RunResult Recover(const std::vector<std::uint8_t>& bytes) {
    const fs::path store = temp_.Path() / ("store" + std::to_string(runs_++) + ".dbx");
    {
      std::ofstream out(store, std::ios::binary);
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    RecordingUi ui(temp_.Path().u16string());
    return testsupport::RunRecovery(store, ui);
  }

  testsupport::TempFolder temp_;
  int runs_ = 0;
};

struct Placed {
  std::string message;
  std::int64_t end = 0;  // one past the last byte of its last block
};

TEST_F(DamagedStore, CutAtAnyPointStillCompletesWithTheMessagesBeforeTheCut) {
  DbxWriter writer;
  std::vector<Placed> placed;
  auto remember = [&](const std::string& message, const testsupport::PlacedMessage& where) {
    const auto last = *std::max_element(where.blockOffsets.begin(), where.blockOffsets.end());
    placed.push_back({message, last + static_cast<std::int64_t>(testsupport::kDbxBlockSize)});
  };
  for (int i = 0; i < 4; ++i) {
    const std::string message = testsupport::MakeMessage("cut " + std::to_string(i), 200 + 700 * static_cast<std::size_t>(i));
    remember(message, writer.AppendMessage(message));
    writer.AppendNoise(60, static_cast<std::uint32_t>(i + 1));
  }
  const std::string backward = testsupport::MakeMessage("backward", 1500, 9);
  remember(backward, writer.AppendBackwardMessage(backward));
  const std::vector<std::uint8_t> whole = writer.Bytes();

  std::vector<std::int64_t> cuts{0, 1, 4, 5, 527, 528, static_cast<std::int64_t>(whole.size()) - 1};
  for (const Placed& p : placed)
    for (const std::int64_t delta : {-529, -528, -512, -1, 0, 1}) cuts.push_back(p.end + delta);
  std::mt19937 random(20240607);
  for (int i = 0; i < 40; ++i)
    cuts.push_back(std::uniform_int_distribution<std::int64_t>(0, static_cast<std::int64_t>(whole.size()))(random));

  const auto size = static_cast<std::int64_t>(whole.size());
  for (std::int64_t cut : cuts) {
    cut = std::clamp<std::int64_t>(cut, 0, size);
    SCOPED_TRACE("cut at " + std::to_string(cut));
    const std::vector<std::uint8_t> bytes(whole.begin(), whole.begin() + cut);
    const testsupport::RunResult run = Recover(bytes);
    EXPECT_EQ(run.outcome.result, RecoveryResult::Completed);
    for (const Placed& p : placed) {
      if (p.end > cut) continue;
      EXPECT_NE(std::find(run.files.begin(), run.files.end(), p.message), run.files.end())
          << "a message wholly before the cut was lost";
    }
  }
}

TEST_F(DamagedStore, TooSmallForABlockStillCompletes) {
  // A block header at offset 4 whose data the file's end cuts off; what is missing reads as zero.
  std::vector<std::uint8_t> header{4, 0, 0, 0, 0, 0x02, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0};
  std::vector<std::uint8_t> withBlock(4, 0);
  withBlock.insert(withBlock.end(), header.begin(), header.end());
  withBlock.resize(527, 'A');

  struct SmallCase {
    std::size_t size;
    bool withBlock;
    std::size_t files;
  };
  for (const SmallCase c : {SmallCase{0, false, 0}, SmallCase{1, false, 0}, SmallCase{4, false, 0},
                            SmallCase{5, false, 0}, SmallCase{527, false, 0}, SmallCase{1, true, 0},
                            SmallCase{4, true, 0}, SmallCase{5, true, 0}, SmallCase{20, true, 0},
                            SmallCase{21, true, 1}, SmallCase{527, true, 1}}) {
    SCOPED_TRACE(std::to_string(c.size) + (c.withBlock ? " bytes with a block" : " zero bytes"));
    const std::vector<std::uint8_t> bytes =
        c.withBlock ? std::vector<std::uint8_t>(withBlock.begin(), withBlock.begin() + static_cast<std::ptrdiff_t>(c.size))
                    : std::vector<std::uint8_t>(c.size, 0);
    const testsupport::RunResult run = Recover(bytes);
    EXPECT_EQ(run.outcome.result, RecoveryResult::Completed);
    ASSERT_EQ(run.files.size(), c.files);
    // 16 data bytes: those the file holds, then zeros.
    if (c.files == 1) {
      std::string expected(16, '\0');
      for (std::size_t i = 20; i < std::min<std::size_t>(c.size, 36); ++i) expected[i - 20] = 'A';
      EXPECT_EQ(run.files[0], expected);
    }
  }
}

}  // namespace
