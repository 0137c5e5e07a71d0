#include "engine/writing/MessageFile.h"

#include <gtest/gtest.h>

#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

std::optional<MessageFile> Create(const std::u16string& path, platform::OsError& error) {
  auto file = platform::OutputFile::Create(path, error);
  if (!file) return std::nullopt;
  return MessageFile(std::move(*file));
}

TEST(MessageFile, WritesEveryPieceInOrderAcrossFlushes) {
  testsupport::TempFolder temp;
  const auto path = temp.Path() / "m.eml";
  platform::OsError error;
  auto file = Create(path.u16string(), error);
  ASSERT_TRUE(file.has_value());
  std::vector<std::uint8_t> expected;
  for (std::size_t i = 0; i < 5000; ++i) {  // about 2.5 MiB in 512-byte pieces
    const std::vector<std::uint8_t> piece(512, static_cast<std::uint8_t>(i * 31));
    expected.insert(expected.end(), piece.begin(), piece.end());
    ASSERT_TRUE(file->Append(piece, error));
  }
  ASSERT_TRUE(file->Close(error));
  EXPECT_EQ(testsupport::ReadFileBytes(path), expected);
}

#ifndef _WIN32
TEST(MessageFile, ReportsAFailedWriteWithTheSystemsReason) {
  platform::OsError error;
  auto file = Create(u"/dev/full", error);
  if (!file) GTEST_SKIP() << "/dev/full is not writable here";
  const std::vector<std::uint8_t> piece(512, 'x');
  bool written = true;
  for (int i = 0; i < 4096 && written; ++i) written = file->Append(piece, error);
  if (written) written = file->Close(error);
  EXPECT_FALSE(written);
  EXPECT_FALSE(error.text.empty());
}
#endif

}  // namespace
