// palvenor-cli over a store whose disk fails to read a 4 KiB sector: pread really fails (a preloaded
// shim gives EIO), and the run writes every other message, names the range and exits 6.
#if !defined(_WIN32) && defined(PALVENOR_READ_FAULT_SHIM)
#include <gtest/gtest.h>

#include <algorithm>

#include "ChildProcess.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

namespace fs = std::filesystem;

TEST(BadSector, RunWritesEveryOtherMessageListsTheRangeAndExits6) {
  const testsupport::TempFolder temp;
  const fs::path store = temp.Path() / "store.dbx";
  std::vector<std::pair<std::string, std::vector<std::int64_t>>> messages;
  testsupport::DbxWriter writer;
  for (std::uint32_t i = 0; writer.Size() < 2 << 20; ++i) {
    std::string text = testsupport::MakeMessage("m" + std::to_string(i), 3000, i);
    messages.emplace_back(text, writer.AppendMessage(text).blockOffsets);
  }
  writer.Save(store);
  fs::create_directory(temp.Path() / "out");
  clitest::ChildOptions options;
  options.lang = "en_US.UTF-8";
  options.environment = {std::string("LD_PRELOAD=") + PALVENOR_READ_FAULT_SHIM, "PALVENOR_BAD_FILE=" + store.string(),
                         "PALVENOR_BAD_RANGES=1052672+4096", "ASAN_OPTIONS=verify_asan_link_order=0"};
  const clitest::ChildResult child = clitest::RunChild(
      PALVENOR_CLI_PROGRAM, {"--no-freed", "--output", (temp.Path() / "out").string(), store.string()}, options);
  EXPECT_EQ(child.exitStatus, 6) << child.err;
  EXPECT_NE(child.err.find("Unreadable: 4096 bytes at 0x101000"), std::string::npos) << child.err;
  EXPECT_NE(child.out.find("Unreadable ranges in the store: 1 (4 KB in all)."), std::string::npos) << child.out;

  std::vector<std::string> written;
  for (const auto& entry : fs::recursive_directory_iterator(temp.Path() / "out")) {
    if (!entry.is_regular_file()) continue;
    const auto bytes = testsupport::ReadFileBytes(entry.path());
    written.emplace_back(bytes.begin(), bytes.end());
  }
  for (const auto& [text, blocks] : messages) {
    const bool hit = std::any_of(blocks.begin(), blocks.end(), [](std::int64_t b) { return b < 1056768 && b + 528 > 1052672; });
    EXPECT_TRUE(hit || std::find(written.begin(), written.end(), text) != written.end());
  }
}

}  // namespace
#endif
