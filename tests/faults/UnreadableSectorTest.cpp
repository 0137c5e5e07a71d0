// A store on a failing disk: a run over unreadable sectors writes every message none of whose blocks
// lies in them exactly as a run over the healthy store does, ends each chain that reaches them as cut
// short with what came before, and reports what it could not read.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/RunReport.h"
#include "engine/naming/DecimalText.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

namespace fs = std::filesystem;
using testsupport::DbxWriter;
using testsupport::PlacedMessage;

struct Stored {
  std::string text;
  PlacedMessage where;
};

struct SectorCase {
  const char* name;
  std::int64_t offset;
  std::int64_t length;
  bool onJumpTarget;  // the chain of one message jumps into the range
};

constexpr std::int64_t kSector4K = 4096;

class UnreadableSector : public ::testing::Test {
 protected:
  void SetUp() override {
    DbxWriter writer;
    for (int i = 0; writer.Size() < 3 * 1024 * 1024; ++i) {
      const std::string text = testsupport::MakeMessage("m" + std::to_string(i), 300 + 2917 * static_cast<std::size_t>(i % 7),
                                                        static_cast<std::uint32_t>(i));
      stored_.push_back({text, writer.AppendMessage(text)});
      writer.AppendNoise(i % 5 == 0 ? 9000 : 40, static_cast<std::uint32_t>(i));
      if (i == 40) {
        // A chain that jumps 200 KiB on from its first block, into space set aside for it.
        const std::string jumping = testsupport::MakeMessage("jumping", 1400, 99);
        const std::int64_t first = writer.Reserve(testsupport::kDbxBlockSize);
        const std::int64_t rest = writer.Reserve(200 * 1024) + 190 * 1024;
        stored_.push_back({jumping, writer.PlaceMessage(jumping, {first, rest, rest + 528})});
      }
    }
    writer.Save(store_);
  }

  testsupport::RunResult Recover(const std::vector<platform::ByteRange>& bad) {
    RecoveryRun run(RunOptions{false, true, bad});
    testsupport::RecordingUi ui(temp_.Path().u16string());
    testsupport::RunResult result = testsupport::RunRecovery(store_, ui, run);
    report_ = ui.messages.empty() ? std::u16string() : ui.messages.back().text;
    return result;
  }

  testsupport::TempFolder temp_;
  const fs::path store_ = temp_.Path() / "store.dbx";
  std::vector<Stored> stored_;
  std::u16string report_;
};

bool Has(const std::vector<std::string>& files, const std::string& text) {
  return std::find(files.begin(), files.end(), text) != files.end();
}

TEST_F(UnreadableSector, CostsOnlyTheMessagesWithABlockInIt) {
  const Stored& jumping = *std::find_if(stored_.begin(), stored_.end(),
                                        [](const Stored& s) { return s.text.find("jumping") != std::string::npos; });
  const SectorCase cases[] = {
      {"a 4 KiB sector where the scan's second window begins", 1'052'672, 4096, false},
      {"a sector inside a message", stored_[30].where.blockOffsets[2] + 100, 1, false},
      // The first message is followed by 9,000 bytes of other objects.
      {"between messages", (stored_[0].where.blockOffsets.back() + 528 + kSector4K - 1) / kSector4K * kSector4K,
       kSector4K, false},
      {"the jump target of a chain", jumping.where.blockOffsets[1] / kSector4K * kSector4K, kSector4K, true},
      {"a bad 1 MiB stretch", 1 << 20, 1 << 20, false},
  };
  const testsupport::RunResult healthy = Recover({});
  for (const SectorCase& c : cases) {
    SCOPED_TRACE(c.name);
    // A whole sector goes, as on a disk: here the 512 bytes around a single bad byte.
    const std::int64_t begin = c.length == 1 ? c.offset / 512 * 512 : c.offset;
    const std::int64_t end = c.length == 1 ? begin + 512 : c.offset + c.length;
    const testsupport::RunResult run = Recover({{c.offset, c.length}});
    EXPECT_EQ(run.outcome.result, RecoveryResult::Completed);
    ASSERT_EQ(run.outcome.unreadableCount, 1);
    EXPECT_EQ(run.outcome.unreadableBytes, end - begin);
    EXPECT_NE(report_.find(u"読み取れない箇所が1箇所（合計" + DecimalText(RoundedUpKilobytes(end - begin)) + u" KB）ありました。"),
              std::u16string::npos);
    int cut = 0;
    for (const Stored& s : stored_) {
      const auto& blocks = s.where.blockOffsets;
      const auto hit = std::find_if(blocks.begin(), blocks.end(), [&](std::int64_t block) {
        return block < end && block + static_cast<std::int64_t>(testsupport::kDbxBlockSize) > begin;
      });
      if (hit == blocks.end()) {
        EXPECT_TRUE(Has(healthy.files, s.text));
        EXPECT_TRUE(Has(run.files, s.text)) << "lost although no block of it lies in the bad range";
      } else if (hit != blocks.begin()) {
        ++cut;
        const auto kept = static_cast<std::size_t>(hit - blocks.begin()) * testsupport::kDbxDataSize;
        EXPECT_TRUE(Has(run.files, s.text.substr(0, kept))) << "a chain cut short lost what came before the bad block";
      }
    }
    EXPECT_EQ(run.outcome.cutShortCount, cut);
    if (c.onJumpTarget) {
      EXPECT_EQ(cut, 1);
    }
  }
}

}  // namespace
