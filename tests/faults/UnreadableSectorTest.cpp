// A store on a failing disk: every message none of whose blocks lies in the unreadable range is written
// whole, exactly as stored, a chain that reaches the range ends cut short with what came before, and
// the report says what could not be read.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/RunReport.h"
#include "engine/naming/DecimalText.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

using testsupport::kDbxBlockSize;

struct Stored {
  std::string text;
  std::vector<std::int64_t> blocks;
};

TEST(UnreadableSector, CostsOnlyTheMessagesWithABlockInIt) {
  const testsupport::TempFolder temp;
  const auto store = temp.Path() / "store.dbx";
  std::vector<Stored> stored;
  testsupport::DbxWriter writer;
  for (int i = 0; writer.Size() < 3 << 20; ++i) {
    const std::string text = testsupport::MakeMessage("m" + std::to_string(i), 300 + 2917 * std::size_t(i % 7), i);
    stored.push_back({text, writer.AppendMessage(text).blockOffsets});
    writer.AppendNoise(i % 5 == 0 ? 9000 : 40, static_cast<std::uint32_t>(i));
  }
  // A chain that jumps 190 KiB on from its first block.
  const std::string jumping = testsupport::MakeMessage("jumping", 1400, 99);
  const std::int64_t first = writer.Reserve(kDbxBlockSize);
  const std::int64_t target = writer.Reserve(200 * 1024) + 190 * 1024;
  stored.push_back({jumping, writer.PlaceMessage(jumping, {first, target, target + 528}).blockOffsets});
  writer.Save(store);

  const struct {
    const char* name;
    std::int64_t begin, end;  // the bad range: whole sectors, as a disk loses them
  } cases[] = {
      {"a 4 KiB sector where the scan's second window begins", 1'052'672, 1'056'768},
      {"a sector inside a message", stored[30].blocks[2] / 512 * 512, stored[30].blocks[2] / 512 * 512 + 512},
      {"between messages (9,000 bytes of other objects follow the first)",
       (stored[0].blocks.back() + 528 + 4095) / 4096 * 4096, (stored[0].blocks.back() + 528 + 4095) / 4096 * 4096 + 4096},
      {"the jump target of a chain", target / 4096 * 4096, target / 4096 * 4096 + 4096},
      {"a bad 1 MiB stretch", 1 << 20, 2 << 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecoveryRun run(RunOptions{false, true, {{c.begin, c.end - c.begin}}});
    testsupport::RecordingUi ui(temp.Path().u16string());
    const testsupport::RunResult result = testsupport::RunRecovery(store, ui, run);
    EXPECT_EQ(result.outcome.result, RecoveryResult::Completed);
    EXPECT_EQ(result.outcome.unreadableCount, 1);
    EXPECT_EQ(result.outcome.unreadableBytes, c.end - c.begin);
    EXPECT_NE(ui.messages.back().text.find(u"読み取れない箇所が1箇所（合計" +
                                           DecimalText(RoundedUpKilobytes(c.end - c.begin)) + u" KB）ありました。"),
              std::u16string::npos);
    int cut = 0;
    for (const Stored& s : stored) {
      const auto hit = std::find_if(s.blocks.begin(), s.blocks.end(), [&](std::int64_t block) {
        return block < c.end && block + static_cast<std::int64_t>(kDbxBlockSize) > c.begin;
      });
      if (hit == s.blocks.end()) {
        EXPECT_NE(std::find(result.files.begin(), result.files.end(), s.text), result.files.end()) << "lost, though whole";
      } else if (hit != s.blocks.begin()) {
        ++cut;
        const auto kept = static_cast<std::size_t>(hit - s.blocks.begin()) * testsupport::kDbxDataSize;
        EXPECT_NE(std::find(result.files.begin(), result.files.end(), s.text.substr(0, kept)), result.files.end())
            << "a cut chain lost what came before the range";
      }
    }
    EXPECT_EQ(result.outcome.cutShortCount, cut);
  }
}

}  // namespace
