// palvenor-cli over a store whose disk fails to read a sector: the reads really fail (a preloaded
// shim makes pread give EIO), and the run writes every other message, names the range and exits 6.
#if !defined(_WIN32) && defined(PALVENOR_READ_FAULT_SHIM)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "ChildProcess.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Contents(const fs::path& folder) {
  std::vector<std::string> contents;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const auto bytes = testsupport::ReadFileBytes(entry.path());
    contents.emplace_back(bytes.begin(), bytes.end());
  }
  return contents;
}

TEST(BadSector, RunWritesEveryOtherMessageListsTheRangeAndExits6) {
  const testsupport::TempFolder temp;
  const fs::path store = temp.Path() / "store.dbx";
  std::vector<std::pair<std::string, testsupport::PlacedMessage>> messages;
  {
    testsupport::DbxWriter writer;
    for (int i = 0; writer.Size() < 2 * 1024 * 1024; ++i) {
      std::string text = testsupport::MakeMessage("m" + std::to_string(i), 3000, static_cast<std::uint32_t>(i));
      const testsupport::PlacedMessage where = writer.AppendMessage(text);
      messages.emplace_back(std::move(text), where);
    }
    writer.Save(store);
  }
  constexpr std::int64_t kBad = 1'052'672;
  clitest::ChildOptions options;
  options.lang = "en_US.UTF-8";
  options.environment = {std::string("LD_PRELOAD=") + PALVENOR_READ_FAULT_SHIM, "PALVENOR_BAD_FILE=" + store.string(),
                         "PALVENOR_BAD_RANGES=1052672+4096", "ASAN_OPTIONS=verify_asan_link_order=0"};
  const clitest::ChildResult child = clitest::RunChild(
      PALVENOR_CLI_PROGRAM, {"--no-freed", "--output", temp.Path().string(), store.string()}, options);
  EXPECT_EQ(child.exitStatus, 6) << child.err;
  EXPECT_NE(child.err.find("Unreadable: 4096 bytes at 0x101000"), std::string::npos) << child.err;
  EXPECT_NE(child.out.find("Unreadable ranges in the store: 1 (4 KB in all)."), std::string::npos)
      << child.out;

  fs::path folder;
  for (const auto& entry : fs::directory_iterator(temp.Path()))
    if (entry.is_directory()) folder = entry.path();
  const std::vector<std::string> written = Contents(folder);
  for (const auto& [text, where] : messages) {
    const bool hit = std::any_of(where.blockOffsets.begin(), where.blockOffsets.end(), [](std::int64_t block) {
      return block < kBad + 4096 && block + 528 > kBad;
    });
    if (!hit) {
      EXPECT_NE(std::find(written.begin(), written.end(), text), written.end());
    }
  }
}

}  // namespace
#endif
