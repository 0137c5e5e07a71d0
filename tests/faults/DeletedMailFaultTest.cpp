// A full disk while deleted mail and the run's list are written: what was written is counted, and the
// list has a row for exactly each file that stays.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "engine/runlist/RunListFile.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

namespace fs = std::filesystem;
using platform::WriteCall;

// Three listed messages, two deleted ones, two freed ones.
void SaveIndexedStore(const fs::path& path) {
  testsupport::DbxWriter writer;
  std::vector<std::int64_t> records;
  for (int i = 0; i < 7; ++i) {
    const auto placed = writer.AppendMessage(testsupport::MakeMessage("m" + std::to_string(i), 900, i + 1));
    if (i < 3) records.push_back(writer.AppendMessageInfo({placed.blockOffsets[0], "m", "f", 0, false}));
    if (i >= 5) writer.FreeMessage(placed);
  }
  writer.AppendIndex(records);
  writer.Save(path);
}

TEST(DeletedMailFaults, CountWhatWasWrittenAndTheListRowsEqualTheFiles) {
  const struct {
    int create;  // the create that finds the disk full: 1-3 listed, 4 the folder's report, 5-6 deleted, 9 the list
    int deleted, freed;
    bool list;
  } cases[] = {{5, 0, 0, true}, {6, 1, 0, true}, {9, 2, 2, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.create);
    testsupport::TempFolder temp;
    SaveIndexedStore(temp.Path() / "store.dbx");
    testsupport::RecordingUi ui(temp.Path().u16string());
    RunOptions options;
    options.WriteFaults = std::make_shared<platform::WriteFaults>(
        std::vector<platform::WriteFault>{{WriteCall::Create, c.create, platform::DiskFullCode()}});
    RecoveryRun run(options);
    const RecoveryOutcome outcome = testsupport::RunRecovery(temp.Path() / "store.dbx", ui, run).outcome;
    EXPECT_EQ(outcome.result, RecoveryResult::WriteFailed);
    EXPECT_EQ(std::make_tuple(outcome.deletedCount, outcome.unwrittenCount, outcome.freedCount),
              std::make_tuple(c.deleted, 2 - c.deleted, c.freed));
    platform::OsError error;
    const auto list = ReadRunListFile(outcome.outputFolder, error);
    ASSERT_EQ(list.has_value(), c.list);
    if (list) {
      EXPECT_EQ(list->rows.size(), static_cast<std::size_t>(3 + c.deleted + c.freed));
    }
  }
}

}  // namespace
