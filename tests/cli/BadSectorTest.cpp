// palvenor-cli over a store whose disk fails to read a 4 KiB sector: pread really fails (a preloaded
// shim gives EIO), and the run writes every other message, names the range and exits 6, alone or in a
// batch.
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
  const fs::path good = temp.Path() / "good.dbx";
  fs::copy_file(store, good);
  clitest::ChildOptions options;
  options.lang = "en_US.UTF-8";
  options.environment = {std::string("LD_PRELOAD=") + PALVENOR_READ_FAULT_SHIM, "PALVENOR_BAD_FILE=" + store.string(),
                         "PALVENOR_BAD_RANGES=1052672+4096", "ASAN_OPTIONS=verify_asan_link_order=0"};
  // The store alone, and in a batch after a healthy one: the range is listed under the store it is in.
  const std::vector<std::pair<std::vector<fs::path>, std::string>> rows = {
      {{store}, "Unreadable ranges in the store: 1 (4 KB in all)."},
      {{good, store}, "store.dbx: 660 messages, 0 from freed space, 1 cut short, 1 unreadable places"}};
  for (const auto& [stores, report] : rows) {
    const fs::path out = temp.Path() / ("out" + std::to_string(stores.size()));
    fs::create_directory(out);
    std::vector<std::string> arguments = {"--no-freed", "--output", out.string()};
    for (const fs::path& path : stores) arguments.push_back(path.string());
    const clitest::ChildResult child = clitest::RunChild(PALVENOR_CLI_PROGRAM, arguments, options);
    EXPECT_EQ(child.exitStatus, 6) << child.err;
    const std::size_t range = child.err.find("Unreadable: 4096 bytes at 0x101000");
    EXPECT_NE(range, std::string::npos) << child.err;
    EXPECT_EQ(child.err.rfind("good.dbx", range), std::string::npos) << child.err;
    EXPECT_NE(child.out.find(report), std::string::npos) << child.out;

    std::vector<std::string> written;
    for (const auto& entry : fs::recursive_directory_iterator(out)) {
      if (!entry.is_regular_file() || entry.path().parent_path().filename() == "good") continue;
      const auto bytes = testsupport::ReadFileBytes(entry.path());
      written.emplace_back(bytes.begin(), bytes.end());
    }
    for (const auto& [text, blocks] : messages) {
      const bool hit =
          std::any_of(blocks.begin(), blocks.end(), [](std::int64_t b) { return b < 1056768 && b + 528 > 1052672; });
      EXPECT_TRUE(hit || std::find(written.begin(), written.end(), text) != written.end());
    }
  }
}

}  // namespace
#endif
