// Stores beyond 2 and 4 GiB, made sparse so that they cost no disk space.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

constexpr std::int64_t kGiB = 1'073'741'824;
constexpr std::int64_t kWrap = 4 * kGiB;  // where the stored 32-bit offsets wrap

// Writes bytes at offset of an existing file, which grows as needed.
void WriteAt(const std::filesystem::path& file, std::int64_t offset, std::span<const std::uint8_t> bytes) {
  std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
  out.seekp(offset);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// An empty file of size bytes, or a skip when the file system cannot hold it sparse.
bool MakeSparseFile(const std::filesystem::path& file, std::int64_t size) {
  std::ofstream{file, std::ios::binary};
  std::error_code error;
  std::filesystem::resize_file(file, static_cast<std::uintmax_t>(size), error);
  return !error;
}

TEST(LargeStore, EveryMessageOfAFiveGiBFileIsFoundWholeWithThePointerCheckOn) {
  testsupport::TempFolder temp;
  const auto store = temp.Path() / "large.dbx";
  if (!MakeSparseFile(store, 5 * kGiB)) GTEST_SKIP() << "no sparse file of 5 GiB here";
  // The blocks of the message across 2^32 lie on both sides of it: its first two store offsets near
  // the top of the 32-bit range, and its first block names the third by a wrapped offset of 56.
  const std::int64_t offsets[] = {kGiB + 4, 2 * kGiB - 600, 3 * kGiB + 8, kWrap - 1000, 4 * kGiB + kGiB / 2 + 4};
  testsupport::DbxWriter header;
  WriteAt(store, 0, header.Bytes());
  std::vector<std::string> expected;
  for (std::size_t i = 0; i < std::size(offsets); ++i) {
    expected.push_back(testsupport::MakeMessage("far away " + std::to_string(i), 1500));
    WriteAt(store, offsets[i], testsupport::EncodeContiguousMessage(expected.back(), offsets[i]));
  }

  testsupport::RecordingUi ui(temp.Path().u16string());
  const auto run = testsupport::RunRecovery(store, ui);
  EXPECT_EQ(run.outcome.result, RecoveryResult::Completed);
  EXPECT_EQ(run.files, expected);
  ASSERT_EQ(run.records.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(run.records[i].StartBlock, offsets[i] + 1) << i;
    EXPECT_EQ(run.records[i].Status, MailRecord::kExtracted) << i;
  }
  EXPECT_EQ(ui.CallsStartingWith("progress").back(), "progress 100");
}

TEST(LargeStore, AStoreAtAnOddOffsetAcross4GiBGivesItsMessagesWithThePointerCheckOff) {
  testsupport::TempFolder temp;
  const auto file = temp.Path() / "image.dbx";
  if (!MakeSparseFile(file, 4 * kGiB + kGiB / 2)) GTEST_SKIP() << "no sparse file of 4.5 GiB here";
  testsupport::DbxWriter embedded;
  std::vector<std::string> expected;
  std::vector<testsupport::PlacedMessage> placed;
  for (int i = 0; i < 4; ++i) {
    expected.push_back(testsupport::MakeMessage("embedded " + std::to_string(i), 1500, static_cast<std::uint32_t>(i)));
    placed.push_back(i % 2 == 0 ? embedded.AppendMessage(expected.back()) : embedded.AppendBackwardMessage(expected.back()));
  }
  // The store's own offsets count from its start; it begins at an odd offset, 3 KiB below 2^32.
  const std::int64_t at = kWrap - 3 * 1024 - 1;
  WriteAt(file, at, embedded.Bytes());

  testsupport::RecordingUi ui(temp.Path().u16string());
  const auto run = testsupport::RunRecovery(file, ui, true);
  EXPECT_EQ(run.files, expected);
  ASSERT_EQ(run.records.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(run.records[i].StartBlock, at + placed[i].StartPosition()) << i;
}

}  // namespace
