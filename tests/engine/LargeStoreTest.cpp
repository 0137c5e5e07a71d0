// Stores beyond 2 GiB, made sparse so that they cost no disk space.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

TEST(LargeStore, IsScannedUpToTwoGiBAndNeverAsItsLowThirtyTwoBits) {
  testsupport::ResetRunFlags();
  testsupport::TempFolder temp;
  const auto store = temp.Path() / "large.dbx";
  // 4.5 GiB: its low 32 bits are 512 MiB, so a message at 1.5 GiB is found only when the length is
  // capped rather than truncated.
  constexpr std::int64_t kLength = 4'831'838'208;
  constexpr std::int64_t kMessageAt = 1'610'612'740;
  const std::string message = testsupport::MakeMessage("far away", 1500);
  {
    testsupport::DbxWriter header;
    const auto bytes = testsupport::EncodeContiguousMessage(message, kMessageAt);
    std::ofstream out(store, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header.Bytes().data()), static_cast<std::streamsize>(header.Size()));
    out.seekp(kMessageAt);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  std::error_code error;
  std::filesystem::resize_file(store, kLength, error);
  if (error) GTEST_SKIP() << "cannot make a 4.5 GiB sparse file here: " << error.message();

  testsupport::RecordingUi ui(temp.Path().u16string());
  const auto run = testsupport::RunRecovery(store, ui);
  ASSERT_EQ(run.files.size(), 1u);
  EXPECT_EQ(run.files[0], message);
  EXPECT_EQ(run.records[0].StartBlock, kMessageAt + 1);
  EXPECT_EQ(ui.CallsStartingWith("progress").back(), "progress 100");
}

}  // namespace
