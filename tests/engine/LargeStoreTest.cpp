// Stores beyond 2 GiB, made sparse so that they cost no disk space.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

constexpr std::int64_t kGiB = 1'073'741'824;
constexpr std::int64_t kMiB = 1'048'576;

struct Placement {
  std::int64_t offset;
  bool found;  // lies below the 2 GiB the scan reaches
};

class LargeStore : public ::testing::TestWithParam<std::int64_t> {};

TEST_P(LargeStore, IsScannedUpToTwoGiBAndNeverAsItsLowThirtyTwoBits) {
  testsupport::ResetRunFlags();
  testsupport::TempFolder temp;
  const auto store = temp.Path() / "large.dbx";
  // 4.5 GiB has 512 MiB as its low 32 bits, so the message at 1.5 GiB is found only when the length is
  // capped rather than truncated; the one at 2.5 GiB lies beyond what any 32-bit position reaches.
  const std::vector<Placement> placements{
      {kMiB + 4, true}, {kGiB + kGiB / 2 + 4, true}, {2 * kGiB - 3 * kMiB + 4, true}, {2 * kGiB + kGiB / 2 + 4, false}};
  std::vector<std::string> expected;
  {
    testsupport::DbxWriter header;
    std::ofstream out(store, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header.Bytes().data()), static_cast<std::streamsize>(header.Size()));
    for (std::size_t i = 0; i < placements.size(); ++i) {
      const std::string message = testsupport::MakeMessage("far away " + std::to_string(i), 1500);
      const auto bytes = testsupport::EncodeContiguousMessage(message, placements[i].offset);
      out.seekp(placements[i].offset);
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      if (placements[i].found) expected.push_back(message);
    }
  }
  std::error_code error;
  std::filesystem::resize_file(store, GetParam(), error);
  if (error) GTEST_SKIP() << "cannot make a sparse file of " << GetParam() << " bytes here: " << error.message();

  testsupport::RecordingUi ui(temp.Path().u16string());
  const auto run = testsupport::RunRecovery(store, ui);
  EXPECT_EQ(run.outcome.result, RecoveryResult::Completed);
  EXPECT_EQ(run.files, expected);
  ASSERT_EQ(run.records.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(run.records[i].StartBlock, placements[i].offset + 1);
  EXPECT_EQ(ui.CallsStartingWith("progress").back(), "progress 100");
}

INSTANTIATE_TEST_SUITE_P(Sparse, LargeStore, ::testing::Values(3 * kGiB, 4 * kGiB + kGiB / 2),
                         [](const ::testing::TestParamInfo<std::int64_t>& size) { return size.param == 3 * kGiB ? "ThreeGiB" : "FourAndAHalfGiB"; });

}  // namespace
