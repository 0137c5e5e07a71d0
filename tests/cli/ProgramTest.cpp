// The built palvenor-cli as a user runs it: exit statuses, streams, Ctrl-C and failing writes.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "ChildProcess.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

namespace fs = std::filesystem;
using clitest::ChildOptions;
using clitest::RunChild;
using testsupport::DbxWriter;
using testsupport::MakeMessage;

const fs::path kProgram = PALVENOR_CLI_PROGRAM;

class Program : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(parent_); }

  // A store of `count` messages of about `size` bytes each, with other objects between them.
  std::vector<std::string> WriteStore(int count, std::size_t size) {
    std::vector<std::string> messages;
    DbxWriter writer(store_);
    for (int i = 0; i < count; ++i) {
      messages.push_back(MakeMessage("message " + std::to_string(i), size, static_cast<std::uint32_t>(i + 1)));
      writer.AppendMessage(messages.back());
      writer.AppendNoise(100, static_cast<std::uint32_t>(i));
    }
    writer.Finish();
    return messages;
  }

  std::vector<std::string> Args(std::vector<std::string> extra = {}) const {
    extra.insert(extra.end(), {"--output", parent_.string(), store_.string()});
    return extra;
  }

  // The one output folder the run created.
  fs::path OutputFolder() const {
    std::vector<fs::path> folders;
    for (const auto& entry : fs::directory_iterator(parent_)) folders.push_back(entry.path());
    EXPECT_EQ(folders.size(), 1u);
    return folders.empty() ? fs::path() : folders[0];
  }

  testsupport::TempFolder temp_;
  const fs::path parent_ = temp_.Path() / "out";
  const fs::path store_ = temp_.Path() / "受信トレイ.dbx";
};

std::vector<std::string> Contents(const fs::path& folder) {
  std::vector<std::string> contents;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const auto bytes = testsupport::ReadFileBytes(entry.path());
    contents.emplace_back(bytes.begin(), bytes.end());
  }
  return contents;
}

TEST_F(Program, VersionAndHelp) {
  ChildOptions english;
  english.lang = "C";
  const auto version = RunChild(kProgram, {"--version"}, english);
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out, "1.0.34\n");
  const auto help = RunChild(kProgram, {"--help"}, english);
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("--no-pointer-check"), std::string::npos);
  const auto wrong = RunChild(kProgram, {"--bogus"}, english);
  EXPECT_EQ(wrong.exitStatus, 2);
  EXPECT_FALSE(wrong.err.empty());
  const auto named = RunChild(kProgram, {"--bogus", "x.dbx"}, english);
  EXPECT_EQ(named.exitStatus, 2);
  EXPECT_TRUE(named.err.starts_with("Unknown option: --bogus\n")) << named.err;
}

TEST_F(Program, SpeaksJapaneseUnderAJapaneseLocaleAndEnglishElsewhere) {
  WriteStore(2, 500);
  const struct {
    const char* lang;
    const char* helpStart;
    const char* report;
  } cases[] = {
      {"ja_JP.UTF-8", "Outlook ExpressのDBXファイルから", "2通のメールが見つかりました。\n"},
      {"C", "Recovers the mail in Outlook Express DBX files", "Messages found: 2.\n"},
      {"en_US.UTF-8", "Recovers the mail in Outlook Express DBX files", "Messages found: 2.\n"},
  };
  for (const auto& c : cases) {
    ChildOptions options;
    options.lang = c.lang;
    const auto help = RunChild(kProgram, {"--help"}, options);
    EXPECT_TRUE(help.out.starts_with(c.helpStart)) << c.lang << ":\n" << help.out;
    fs::remove_all(parent_);
    fs::create_directories(parent_);
    const auto run = RunChild(kProgram, Args(), options);
    EXPECT_EQ(run.exitStatus, 0) << c.lang;
    EXPECT_TRUE(run.out.starts_with(c.report)) << c.lang << ":\n" << run.out;
  }
}

TEST_F(Program, StoreAndOutputNamesThatAreNotUtf8WorkAndShowAsReplacements) {
  // Shift_JIS names from an old disk: 受信トレイ.dbx in 古いメール/.
  const fs::path old = temp_.Path() / fs::path("\x8c\xc3\x82\xa2\x83\x81\x81\x5b\x83\x8b");
  const fs::path store = old / fs::path("\x8e\xf3\x90\x4d\x83\x67\x83\x8c\x83\x43.dbx");
  fs::create_directories(old);
  const std::string message = MakeMessage("old disk", 700, 1);
  DbxWriter writer(store);
  writer.AppendMessage(message);
  writer.Finish();

  const auto run = RunChild(kProgram, {"--output", old.string(), store.string()});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  fs::path folder;
  for (const auto& entry : fs::directory_iterator(old)) {
    if (entry.is_directory()) folder = entry.path();
  }
  ASSERT_FALSE(folder.empty()) << "no run folder inside the Shift_JIS folder";
  EXPECT_EQ(Contents(folder), std::vector<std::string>{message});
  // The report shows each undecodable byte as U+FFFD; C3 82 happens to be UTF-8 for Â, and 5B is "[".
  const std::string shownOld = temp_.Path().string() + "/\uFFFD\u00C2\uFFFD\uFFFD\uFFFD\uFFFD[\uFFFD\uFFFD";
  EXPECT_EQ(run.out, "1通のメールが見つかりました。\n" + shownOld + "/" + folder.filename().string() + "\n");

  const auto missing = RunChild(kProgram, {"--output", old.string(), (old / "\x96\xb3\x82\xa2.dbx").string()});
  EXPECT_EQ(missing.exitStatus, 3);
  EXPECT_NE(missing.err.find(shownOld + "/\uFFFD\uFFFD\uFFFD\uFFFD.dbx\n"), std::string::npos) << missing.err;
}

TEST_F(Program, ReportsInUtf8OnStdoutAndExitsZero) {
  const auto messages = WriteStore(3, 1200);
  const auto run = RunChild(kProgram, Args());
  EXPECT_EQ(run.exitStatus, 0);
  const fs::path folder = OutputFolder();
  EXPECT_EQ(run.out, "3通のメールが見つかりました。\n" + folder.string() + "\n");
  EXPECT_EQ(run.err, "");
  auto contents = Contents(folder);
  std::sort(contents.begin(), contents.end());
  auto expected = messages;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(contents, expected);
}

TEST_F(Program, FailuresExitWithTheirStatus) {
  const auto missing = RunChild(kProgram, Args());
  EXPECT_EQ(missing.exitStatus, 3);
  EXPECT_NE(missing.err.find("DBXファイルをオープンできませんでした。"), std::string::npos);
  EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;

  WriteStore(1, 300);
  const auto folder = RunChild(kProgram, {"--output", (temp_.Path() / "none").string(), store_.string()});
  EXPECT_EQ(folder.exitStatus, 4);
  EXPECT_NE(folder.err.find("出力先フォルダの作成に失敗しました。"), std::string::npos);
}

TEST_F(Program, ProgressOnlyOnATerminalAndNotWhenQuiet) {
  WriteStore(20, 2000);
  const auto piped = RunChild(kProgram, Args());
  EXPECT_EQ(piped.exitStatus, 0);
  EXPECT_EQ(piped.err, "");

  ChildOptions terminal;
  terminal.stderrTerminal = true;
  const auto shown = RunChild(kProgram, Args(), terminal);
  EXPECT_EQ(shown.exitStatus, 0);
  EXPECT_NE(shown.err.find("\r抽出中 "), std::string::npos) << shown.err;
  EXPECT_NE(shown.err.find("通のメールを抽出"), std::string::npos) << shown.err;
  EXPECT_TRUE(shown.err.ends_with("\r")) << "the line is cleared before the report";
  EXPECT_NE(shown.out.find("20通のメールが見つかりました。\n"), std::string::npos);

  const auto quiet = RunChild(kProgram, Args({"--quiet"}), terminal);
  EXPECT_EQ(quiet.exitStatus, 0);
  EXPECT_EQ(quiet.err, "");
  EXPECT_NE(quiet.out.find("20通のメールが見つかりました。\n"), std::string::npos);
}

TEST_F(Program, CtrlCStopsTheRunKeepsTheFilesAndExits130) {
  constexpr int kMessages = 40000;
  const auto messages = WriteStore(kMessages, 1100);
  ChildOptions options;
  bool sent = false;
  options.whileRunning = [&](pid_t pid) {
    // Once the first message is out, the run is surely past its start.
    if (sent || !fs::exists(parent_) || fs::is_empty(parent_) || fs::is_empty(*fs::directory_iterator(parent_))) {
      return;
    }
    ::kill(pid, SIGINT);
    sent = true;
  };
  const auto run = RunChild(kProgram, Args(), options);
  ASSERT_TRUE(sent);
  EXPECT_EQ(run.exitStatus, 130);

  // The Ctrl-C came while the files were written: the writing ended after the file in hand.
  const auto contents = Contents(OutputFolder());
  EXPECT_LT(contents.size(), static_cast<std::size_t>(kMessages));
  EXPECT_EQ(run.out, "中断しました。40000通のメールが見つかりました。40000通のうち" + std::to_string(contents.size()) +
                         "通を書き出しました。\n" + OutputFolder().string() + "\n");
  const std::set<std::string> all(messages.begin(), messages.end());
  for (const std::string& content : contents) EXPECT_EQ(all.count(content), 1u) << "a kept file is incomplete";
}

TEST_F(Program, AFailedWriteKeepsWhatWasWrittenAndExits5) {
  // The fourth message is too big for the child's file size limit.
  const std::vector<std::string> messages{MakeMessage("one", 1000, 1), MakeMessage("two", 1000, 2),
                                          MakeMessage("three", 1000, 3), MakeMessage("too big", 9000, 4),
                                          MakeMessage("after", 500, 5)};
  DbxWriter writer(store_);
  for (const std::string& message : messages) writer.AppendMessage(message);
  writer.Finish();
  ChildOptions options;
  options.fileSizeLimit = 4096;
  const auto run = RunChild(kProgram, Args(), options);
  EXPECT_EQ(run.exitStatus, 5);
  EXPECT_FALSE(run.err.empty());
  const auto contents = Contents(OutputFolder());
  // Not killed by SIGXFSZ: the write past the limit failed with EFBIG, its file was removed, and the
  // run ended with the three files before it whole.
  EXPECT_EQ(contents.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_NE(std::find(contents.begin(), contents.end(), messages[i]), contents.end()) << i;
  }
  EXPECT_NE(run.err.find("File too large"), std::string::npos) << run.err;
  EXPECT_TRUE(run.out.starts_with("中断しました。5通のメールが見つかりました。5通のうち3通を書き出しました。\n"))
      << run.out;
}

}  // namespace
#endif
