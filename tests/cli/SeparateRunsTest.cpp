// Runs in one process share nothing: each gives what the program gives when run on its own.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <thread>

#include "ChildProcess.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

namespace fs = std::filesystem;
using testsupport::DbxWriter;
using testsupport::MakeMessage;

// Every file of a run folder: its path inside the folder, its bytes and, for mail, the time its header gives.
using Tree = std::map<std::string, std::pair<std::string, fs::file_time_type>>;

Tree TreeOf(const fs::path& parent) {
  Tree tree;
  for (const auto& run : fs::directory_iterator(parent)) {
    for (const auto& entry : fs::recursive_directory_iterator(run.path())) {
      if (!entry.is_regular_file()) continue;
      const auto bytes = testsupport::ReadFileBytes(entry.path());
      const bool mail = entry.path().extension() == ".eml";
      tree[fs::relative(entry.path(), run.path()).string()] = {
          std::string(bytes.begin(), bytes.end()), mail ? entry.last_write_time() : fs::file_time_type{}};
    }
  }
  return tree;
}

struct Choice {
  RunOptions options;
  std::vector<std::string> flags;
};

// Options that change what a run writes: stale copies with the check off, freed messages.
const Choice kChoices[] = {{{false, true}, {}}, {{true, false}, {"--no-pointer-check", "--no-freed"}}};

class SeparateRuns : public ::testing::Test {
 protected:
  void SetUp() override {
    DbxWriter writer;
    writer.AppendMessage(MakeMessage("live", 900, 1));
    writer.FreeMessage(writer.AppendMessage(MakeMessage("freed", 700, 2)));
    const std::int64_t moved = writer.Reserve(2 * 528);
    writer.PlaceMessage(MakeMessage("moved", 600, 3), {moved, moved + 528}, 0x1000);
    writer.Save(store_);
  }

  fs::path Parent(const std::string& name) const {
    const fs::path parent = temp_.Path() / name;
    fs::create_directories(parent);
    return parent;
  }

  // What palvenor-cli, run on its own, writes with the choice's flags.
  Tree OnItsOwn(const Choice& choice, const std::string& name) const {
    const fs::path parent = Parent(name);
    std::vector<std::string> args = choice.flags;
    args.insert(args.end(), {"--quiet", "--output", parent.string(), store_.string()});
    EXPECT_EQ(clitest::RunChild(PALVENOR_CLI_PROGRAM, args).exitStatus, 0);
    return TreeOf(parent);
  }

  fs::path RunInProcess(const Choice& choice, const std::string& name) const {
    const fs::path parent = Parent(name);
    testsupport::RecordingUi ui(parent.u16string());
    RecoveryRun run(choice.options);
    EXPECT_EQ(RecoverMails(store_.u16string(), run, ui).result, RecoveryResult::Completed);
    return parent;
  }

  testsupport::TempFolder temp_;
  const fs::path store_ = temp_.Path() / "store.dbx";
};

TEST_F(SeparateRuns, OneAfterTheOtherOrSideBySideEachWritesWhatItsOwnProcessWrites) {
  const Tree alone[] = {OnItsOwn(kChoices[0], "alone0"), OnItsOwn(kChoices[1], "alone1")};
  ASSERT_NE(alone[0], alone[1]) << "the choices must change the output for this test to mean anything";
  for (const bool sideBySide : {false, true}) {
    SCOPED_TRACE(sideBySide ? "side by side" : "one after the other");
    const std::string tag = sideBySide ? "parallel" : "serial";
    fs::path parents[2];
    if (sideBySide) {
      std::thread other([&] { parents[1] = RunInProcess(kChoices[1], tag + "1"); });
      parents[0] = RunInProcess(kChoices[0], tag + "0");
      other.join();
    } else {
      for (int i = 0; i < 2; ++i) parents[i] = RunInProcess(kChoices[i], tag + std::to_string(i));
    }
    for (int i = 0; i < 2; ++i) EXPECT_EQ(TreeOf(parents[i]), alone[i]) << "choice " << i;
  }
}

}  // namespace
#endif
