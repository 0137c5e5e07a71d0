#include "cli/Arguments.h"

#include <gtest/gtest.h>

#include <fstream>

#include "cli/CliTexts.h"
#include "cli/ExitStatus.h"
#include "platform/Utf.h"
#include "tests/support/RecoveryRun.h"

namespace {

using cli::ParseArguments;

std::vector<std::string> Args(std::initializer_list<std::string> rest) {
  std::vector<std::string> args{"palvenor-cli"};
  args.insert(args.end(), rest);
  return args;
}

struct AcceptedCase {
  std::vector<std::string> args;
  std::optional<std::u16string> output;
  bool skipPointerCheck;
  bool quiet;
  std::vector<std::u16string> storePaths;
  bool recoverFreed = true;
  bool useIndex = true;
};

TEST(ParseArguments, AcceptsTheOptionsInAnyOrder) {
  const AcceptedCase cases[] = {
      {Args({"store.dbx"}), std::nullopt, false, false, {u"store.dbx"}},
      {Args({"--output", "/tmp/out", "store.dbx"}), u"/tmp/out", false, false, {u"store.dbx"}},
      {Args({"--output=/tmp/out", "store.dbx"}), u"/tmp/out", false, false, {u"store.dbx"}},
      {Args({"store.dbx", "--quiet", "--no-pointer-check"}), std::nullopt, true, true, {u"store.dbx"}},
      {Args({"--no-pointer-check", "/メール/受信トレイ.dbx"}), std::nullopt, true, false, {u"/メール/受信トレイ.dbx"}},
      {Args({"--output", "/home/利用者/文書", "--", "-odd.dbx"}), u"/home/利用者/文書", false, false, {u"-odd.dbx"}},
      {Args({"a.dbx", "b.dbx"}), std::nullopt, false, false, {u"a.dbx", u"b.dbx"}},
      {Args({"a.dbx", "--", "-b.dbx"}), std::nullopt, false, false, {u"a.dbx", u"-b.dbx"}},
      {Args({"/old", "--quiet", "a.dbx", "/mnt"}), std::nullopt, false, true, {u"/old", u"a.dbx", u"/mnt"}},
      {Args({"--no-freed", "store.dbx"}), std::nullopt, false, false, {u"store.dbx"}, false},
      {Args({"store.dbx", "--no-index"}), std::nullopt, false, false, {u"store.dbx"}, true, false},
  };
  for (const AcceptedCase& c : cases) {
    const auto parsed = ParseArguments(c.args, Language::English);
    ASSERT_TRUE(parsed.options) << c.args[1] << platform::ToUtf8(parsed.errText);
    EXPECT_EQ(parsed.options->outputFolder, c.output) << c.args[1];
    EXPECT_EQ(parsed.options->skipPointerCheck, c.skipPointerCheck) << c.args[1];
    EXPECT_EQ(parsed.options->quiet, c.quiet) << c.args[1];
    EXPECT_EQ(parsed.options->recoverFreed, c.recoverFreed) << c.args[1];
    EXPECT_EQ(parsed.options->useIndex, c.useIndex) << c.args[1];
    EXPECT_EQ(parsed.options->storePaths, c.storePaths) << c.args[1];
    EXPECT_TRUE(parsed.outText.empty());
    EXPECT_TRUE(parsed.errText.empty());
  }
}

TEST(ParseArguments, RejectsWrongUsageWithStatus2AndAMessage) {
  const std::vector<std::string> cases[] = {
      Args({}),                                  // no DBXFILE
      Args({"--unknown", "a.dbx"}),              // unknown option
      Args({"--output"}),                        // option without its value
      Args({"--output", "", "a.dbx"}),           // an empty folder name
      Args({"--quiet=perhaps", "a.dbx"}),        // a flag takes yes or no at most
  };
  for (const auto& args : cases) {
    const auto parsed = ParseArguments(args, Language::English);
    const std::string shown = args.size() > 1 ? args[1] : "(none)";
    EXPECT_FALSE(parsed.options) << shown;
    EXPECT_EQ(parsed.exitStatus, 2) << shown;
    EXPECT_FALSE(parsed.errText.empty()) << shown;
    EXPECT_TRUE(parsed.outText.empty()) << shown;
  }
}

TEST(ParseArguments, NamesTheArgumentItDidNotTake) {
  const struct {
    std::vector<std::string> args;
    std::u16string errStart;
  } cases[] = {
      {Args({"--bogus", "x.dbx"}), u"Unknown option: --bogus\n"},
      {Args({"--bogus"}), u"Unknown option: --bogus\n"},
      {Args({"x.dbx", "-q"}), u"Unknown option: -q\n"},
      {Args({"a.dbx", "b.dbx", "--bogus"}), u"Unknown option: --bogus\n"},
      {Args({"--quiet", "a.dbx", "-\x8e\xf3"}), u"Unknown option: -\uFFFD\uFFFD\n"},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseArguments(c.args, Language::English);
    EXPECT_FALSE(parsed.options) << c.args[1];
    EXPECT_EQ(parsed.exitStatus, 2) << c.args[1];
    // As the terminal shows it: the bytes that are not UTF-8 as U+FFFD.
    const std::string shown = platform::ToUtf8(parsed.errText);
    EXPECT_TRUE(shown.starts_with(platform::ToUtf8(c.errStart))) << shown;
  }
}

TEST(ParseArguments, TakesPathsThatAreNotUtf8AsTheirBytes) {
  const std::string shiftJis = "/mnt/old/\x8e\xf3\x90\x4d\x83\x67\x83\x8c\x83\x43.dbx";  // 受信トレイ.dbx
  const std::string cutShort = std::string("/out/\xE3\x83", 7);
  const auto parsed = ParseArguments(Args({"--output", cutShort, shiftJis}), Language::English);
  ASSERT_TRUE(parsed.options) << platform::ToUtf8(parsed.errText);
  ASSERT_EQ(parsed.options->storePaths.size(), 1u);
  EXPECT_EQ(platform::ToPathBytes(parsed.options->storePaths[0]), shiftJis);
  EXPECT_EQ(platform::ToPathBytes(*parsed.options->outputFolder), cutShort);
}

TEST(ParseArguments, VersionPrintsTheVersionOnly) {
  const auto parsed = ParseArguments(Args({"--version"}), Language::Japanese);
  EXPECT_FALSE(parsed.options);
  EXPECT_EQ(parsed.exitStatus, 0);
  EXPECT_EQ(parsed.outText, u"1.0.34\n");
  EXPECT_TRUE(parsed.errText.empty());
}

TEST(ParseArguments, HelpNamesEveryOptionAndTheExitStatuses) {
  for (const char* flag : {"--help", "-h"}) {
    const auto parsed = ParseArguments(Args({flag}), Language::English);
    EXPECT_FALSE(parsed.options);
    EXPECT_EQ(parsed.exitStatus, 0);
    const std::string help = platform::ToUtf8(parsed.outText);
    for (const char* word : {"palvenor-cli", "--output", "--no-pointer-check", "--no-freed", "--no-index", "--quiet", "--version", "DBXFILE|FOLDER",
                             "130", "documents folder"}) {
      EXPECT_NE(help.find(word), std::string::npos) << flag << " lacks " << word;
    }
    for (const cli::ExitStatusMeaning& entry : cli::kExitStatusMeanings) {
      EXPECT_NE(help.find(std::to_string(static_cast<int>(entry.status))), std::string::npos) << flag;
      const std::string meaning = cli::CliTextUtf8(entry.meaning, Language::English);
      EXPECT_NE(help.find(meaning), std::string::npos) << flag << " lacks " << meaning;
    }
  }
}

TEST(ParseArguments, HelpInJapaneseIsAllJapanese) {
  const auto parsed = ParseArguments(Args({"--help"}), Language::Japanese);
  EXPECT_EQ(parsed.exitStatus, 0);
  const std::string help = platform::ToUtf8(parsed.outText);
  EXPECT_TRUE(help.starts_with("Outlook ExpressのDBXファイルから")) << help;
  for (const char* words : {"使い方: palvenor-cli [オプション] DBXFILE|FOLDER...", "\n引数:\n", "\nオプション:\n",
                            "--output DIR  ", "DBXFILE|FOLDER パス ... 必須", "このヘルプを表示して終了します",
                            "終了ステータス:\n", "  130  Ctrl-Cで中断した"}) {
    EXPECT_NE(help.find(words), std::string::npos) << "lacks " << words << " in\n" << help;
  }
  // The English of the argument parser is all replaced.
  for (const char* english : {"Usage", "OPTIONS", "Options", "Positionals", "REQUIRED", "TEXT", "Print", "Display"}) {
    EXPECT_EQ(help.find(english), std::string::npos) << english << " in\n" << help;
  }
}

TEST(ParseArguments, UsageErrorsAreInTheLanguage) {
  const struct {
    std::vector<std::string> args;
    std::u16string japanese;
    std::u16string english;
  } cases[] = {
      {Args({}), u"DBXFILE|FOLDER を指定してください。", u"DBXFILE|FOLDER is required"},
      {Args({"--bogus", "a.dbx"}), u"不明なオプションです: --bogus", u"Unknown option: --bogus"},
      {Args({"a.dbx", "--output"}), u"--output: フォルダ名がありません。", u"--output: the folder name is missing."},
      {Args({"--output", "", "a.dbx"}), u"--output: フォルダ名が空です。", u"--output: the folder name is empty."},
      {Args({"--quiet=perhaps", "a.dbx"}), u"引数が正しくありません: ", u"Wrong arguments: "},
  };
  for (const auto& c : cases) {
    const auto japanese = ParseArguments(c.args, Language::Japanese);
    EXPECT_TRUE(japanese.errText.starts_with(c.japanese)) << platform::ToUtf8(japanese.errText);
    EXPECT_TRUE(japanese.errText.ends_with(u"\n詳しくは --help を付けて実行してください。\n"))
        << platform::ToUtf8(japanese.errText);
    const auto english = ParseArguments(c.args, Language::English);
    EXPECT_TRUE(english.errText.starts_with(c.english)) << platform::ToUtf8(english.errText);
    EXPECT_TRUE(english.errText.ends_with(u"\nRun with --help for more information.\n"))
        << platform::ToUtf8(english.errText);
  }
}

TEST(ArgumentToUtf8, KeepsTextAndRefusesLoneSurrogates) {
  EXPECT_EQ(cli::ArgumentToUtf8(u"C:\\メール\\受信トレイ.dbx"), "C:\\メール\\受信トレイ.dbx");
  EXPECT_EQ(cli::ArgumentToUtf8(u"\U0001F4E7.dbx"), "\U0001F4E7.dbx");
  EXPECT_EQ(cli::ArgumentToUtf8(std::u16string(u"a") + char16_t{0xD800} + u".dbx"), std::nullopt);
}


TEST(ParseArguments, BadMapGivesItsUnreadableRangesOrIsRefusedWithTheLine) {
  const testsupport::TempFolder temp;
  const auto map = (temp.Path() / "map").string();
  const struct {
    std::string text;
    std::vector<std::string> stores;
    std::string refusal;  // part of it; empty when accepted
  } cases[] = {{"0x0 + 1\n0x0 0x1000 +\n0x1000 0x200 -\n", {"a.dbx"}, ""},
               {"0x0 + 1\n0x0 0x1000 +\nbroken\n", {"a.dbx"}, "line 3 "},
               {"0x0 + 1\n", {"a.dbx", "b.dbx"}, "exactly one DBXFILE"},
               {"", {"a.dbx"}, "could not be read"}};
  for (const auto& c : cases) {
    if (!c.text.empty()) std::ofstream(map, std::ios::binary) << c.text;
    std::vector<std::string> args = Args({"--bad-map", c.text.empty() ? map + "-missing" : map});
    args.insert(args.end(), c.stores.begin(), c.stores.end());
    const auto parsed = ParseArguments(args, Language::English);
    EXPECT_EQ(parsed.exitStatus, c.refusal.empty() ? cli::kExitCompleted : cli::kExitUsage);
    EXPECT_NE(platform::ToUtf8(parsed.errText).find(c.refusal), std::string::npos) << platform::ToUtf8(parsed.errText);
    if (c.refusal.empty()) {
      EXPECT_EQ(parsed.options->unreadableRanges, (std::vector<platform::ByteRange>{{0x1000, 0x200}}));
    }
  }
}

}  // namespace
