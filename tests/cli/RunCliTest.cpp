// The whole command in-process: arguments in, report and exit status out, files on disk.
#include "cli/RunCli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "CapturedOutput.h"
#include "engine/runlist/RunListFile.h"
#include "platform/Utf.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

namespace fs = std::filesystem;
using testsupport::DbxWriter;
using testsupport::MakeMessage;

std::string Utf8(const fs::path& path) { return platform::ToUtf8(path.u16string()); }

struct CliRun {
  int status = 0;
  std::u16string out;
  std::u16string err;
};

CliRun RunCommand(std::vector<std::string> rest, Language language = Language::Japanese) {
  rest.insert(rest.begin(), "palvenor-cli");
  clitest::CapturedOutput out;
  clitest::CapturedOutput err;
  const int status = cli::RunCli(rest, out, err, language);
  return {status, out.Text(), err.Text()};
}

std::vector<fs::path> Entries(const fs::path& folder) {
  std::vector<fs::path> entries;
  for (const auto& entry : fs::directory_iterator(folder)) entries.push_back(entry.path());
  std::sort(entries.begin(), entries.end());
  return entries;
}

std::multiset<std::string> FileContents(const fs::path& folder) {
  std::multiset<std::string> contents;
  for (const fs::path& file : Entries(folder)) {
    const auto bytes = testsupport::ReadFileBytes(file);
    contents.emplace(bytes.begin(), bytes.end());
  }
  return contents;
}

class RunCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(parent_);
  }

  fs::path Store(const std::vector<std::string>& messages, const fs::path& where = {}) {
    DbxWriter writer;
    for (const std::string& message : messages) {
      writer.AppendMessage(message);
      writer.AppendNoise(200, 7);
    }
    const fs::path store = where.empty() ? temp_.Path() / u"受信トレイ.dbx" : where;
    fs::create_directories(store.parent_path());
    writer.Save(store);
    return store;
  }

  testsupport::TempFolder temp_;
  const fs::path parent_ = temp_.Path() / u"出力";
};

TEST_F(RunCliTest, RecoversIntoANewFolderAndReportsTheCountAndTheFolder) {
  const std::vector<std::string> messages{MakeMessage("one", 300, 1), MakeMessage("two", 1500, 2),
                                          MakeMessage("three", 4000, 3)};
  const fs::path store = Store(messages);
  const CliRun run = RunCommand({"--output", Utf8(parent_), Utf8(store)});

  EXPECT_EQ(run.status, 0);
  const auto folders = Entries(parent_);
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_TRUE(folders[0].filename().u16string().starts_with(u"メール復元"));
  EXPECT_EQ(FileContents(folders[0]), std::multiset<std::string>(messages.begin(), messages.end()));
  EXPECT_EQ(run.out, u"3通のメールが見つかりました。\n" + folders[0].u16string() + u"\n");
  EXPECT_EQ(run.err, u"") << "no progress when stderr is not a terminal";
}

TEST_F(RunCliTest, NothingFoundStillCompletes) {
  const fs::path store = Store({});
  const CliRun run = RunCommand({"--quiet", "--output", Utf8(parent_), Utf8(store)});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, u"メールが見つかりませんでした。\n");
  EXPECT_EQ(run.err, u"");
}

TEST_F(RunCliTest, FailuresGiveTheirStatusTheMessageAndTheReason) {
  const fs::path store = Store({MakeMessage("one", 300)});
  const fs::path missingStore = temp_.Path() / u"無い.dbx";
  const fs::path missingParent = temp_.Path() / u"無いフォルダ";
  const struct {
    const char* what;
    std::vector<std::string> args;
    int status;
    std::u16string errStart;
  } cases[] = {
      {"store missing", {"--output", Utf8(parent_), Utf8(missingStore)}, 3,
       u"DBXファイルをオープンできませんでした。\n" + missingStore.u16string() + u"\n理由: "},
      {"output parent missing", {"--output", Utf8(missingParent), Utf8(store)}, 4,
       u"出力先フォルダの作成に失敗しました。\n" + (missingParent / u"メール復元").u16string()},
      {"no store given", {"--output", Utf8(parent_)}, 2, u""},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCommand(c.args);
    EXPECT_EQ(run.status, c.status) << c.what;
    EXPECT_TRUE(run.err.starts_with(c.errStart)) << c.what << ": " << platform::ToUtf8(run.err);
    EXPECT_GT(run.err.size(), c.errStart.size()) << c.what << ": the reason is missing";
    EXPECT_EQ(run.out, u"") << c.what;
    EXPECT_TRUE(Entries(parent_).empty()) << c.what << ": nothing may be created";
  }
}

TEST_F(RunCliTest, NoPointerCheckAlsoFindsAStaleCopy) {
  DbxWriter writer;
  const std::string live = MakeMessage("live", 900, 1);
  writer.AppendMessage(live);
  const std::string stale = MakeMessage("stale", 1400, 2);
  const std::int64_t a = writer.Reserve(testsupport::kDbxBlockSize);
  writer.AppendNoise(64, 9);
  const std::int64_t b = writer.Reserve(2 * testsupport::kDbxBlockSize);
  writer.PlaceMessage(stale, {a, b + static_cast<std::int64_t>(testsupport::kDbxBlockSize), b}, 0x8000);
  const fs::path store = temp_.Path() / "stale.dbx";
  writer.Save(store);

  const fs::path checked = parent_ / "checked";
  const fs::path unchecked = parent_ / "unchecked";
  fs::create_directories(checked);
  fs::create_directories(unchecked);
  EXPECT_EQ(RunCommand({"--output", Utf8(checked), Utf8(store)}).status, 0);
  EXPECT_EQ(RunCommand({"--no-pointer-check", "--output", Utf8(unchecked), Utf8(store)}).status, 0);
  EXPECT_EQ(FileContents(Entries(checked).at(0)), std::multiset<std::string>{live});
  EXPECT_EQ(FileContents(Entries(unchecked).at(0)), (std::multiset<std::string>{live, stale}));
}

TEST_F(RunCliTest, FreedMessagesAreReportedUnlessNoFreedTurnsThemOff) {
  DbxWriter writer;
  writer.AppendMessage(MakeMessage("live", 900, 1));
  writer.FreeMessage(writer.AppendMessage(MakeMessage("gone", 700, 2)));
  const fs::path store = temp_.Path() / "freed.dbx";
  writer.Save(store);

  const fs::path on = parent_ / "on";
  const fs::path off = parent_ / "off";
  fs::create_directories(on);
  fs::create_directories(off);
  const CliRun withFreed = RunCommand({"--output", Utf8(on), Utf8(store)});
  const CliRun withoutFreed = RunCommand({"--no-freed", "--output", Utf8(off), Utf8(store)});
  const fs::path onFolder = Entries(on).at(0);
  const fs::path offFolder = Entries(off).at(0);
  EXPECT_EQ(withFreed.out, u"1通のメールが見つかりました。"
                           u"削除済み領域から1通のメールを復元しました（512バイトごとに4バイトが失われています）。\n" +
                               onFolder.u16string() + u"\n");
  EXPECT_EQ(withoutFreed.out, u"1通のメールが見つかりました。\n" + offFolder.u16string() + u"\n");
  EXPECT_TRUE(fs::exists(onFolder / u"削除済みメール" / "gone.eml"));
  EXPECT_EQ(Entries(offFolder), std::vector<fs::path>{offFolder / "live.eml"});
}

TEST_F(RunCliTest, EachRunGetsAFolderOfItsOwn) {
  const fs::path store = Store({MakeMessage("one", 300)});
  EXPECT_EQ(RunCommand({"--output", Utf8(parent_), Utf8(store)}).status, 0);
  EXPECT_EQ(RunCommand({"--output", Utf8(parent_), Utf8(store)}).status, 0);
  const auto folders = Entries(parent_);
  ASSERT_EQ(folders.size(), 2u);
  EXPECT_EQ(FileContents(folders[0]).size(), 1u);
  EXPECT_EQ(FileContents(folders[1]).size(), 1u);
}

TEST_F(RunCliTest, AFolderWithoutStoresIsReportedAndNothingIsCreated) {
  const fs::path empty = temp_.Path() / u"空";
  fs::create_directories(empty);
  Store({MakeMessage("one", 300)}, empty / "notes.txt");
  const CliRun run = RunCommand({"--output", Utf8(parent_), Utf8(empty)});
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.err, u"フォルダにDBXファイルがありません。\n" + empty.u16string() + u"\n");
  EXPECT_EQ(run.out, u"");
  EXPECT_TRUE(Entries(parent_).empty());
}

TEST_F(RunCliTest, SeveralStoresGoIntoOneRunFolderWithAFolderEach) {
  const std::string one = MakeMessage("one", 300, 1);
  const std::string two = MakeMessage("two", 1500, 2);
  const std::string three = MakeMessage("three", 4000, 3);
  const fs::path a = Store({one}, temp_.Path() / "a" / u"受信トレイ.dbx");
  const fs::path b = Store({two, three}, temp_.Path() / "b" / u"受信トレイ.DBX");
  const fs::path c = Store({}, temp_.Path() / "Sent.Items.dbx");
  const CliRun run = RunCommand({"--output", Utf8(parent_), Utf8(a), Utf8(b), Utf8(c)});

  EXPECT_EQ(run.status, 0) << platform::ToUtf8(run.err);
  const auto runFolders = Entries(parent_);
  ASSERT_EQ(runFolders.size(), 1u);
  const fs::path runFolder = runFolders[0];
  EXPECT_TRUE(runFolder.filename().u16string().starts_with(u"メール復元"));
  // A store where nothing was found leaves no folder behind.
  EXPECT_EQ(Entries(runFolder), (std::vector<fs::path>{runFolder / u"受信トレイ", runFolder / u"受信トレイ(1)"}));
  EXPECT_EQ(FileContents(runFolder / u"受信トレイ"), std::multiset<std::string>{one});
  EXPECT_EQ(FileContents(runFolder / u"受信トレイ(1)"), (std::multiset<std::string>{two, three}));
  EXPECT_EQ(run.out, u"受信トレイ.dbx: 1通、削除済み領域から0通、途中で切れたもの0通、読めない箇所0か所\n"
                     u"受信トレイ.DBX: 2通、削除済み領域から0通、途中で切れたもの0通、読めない箇所0か所\n"
                     u"Sent.Items.dbx: 0通、削除済み領域から0通、途中で切れたもの0通、読めない箇所0か所\n"
                     u"合計: 3通、削除済み領域から0通、途中で切れたもの0通、読めない箇所0か所\n" +
                         runFolder.u16string() + u"\n");
}

TEST_F(RunCliTest, NamesThatDifferOnlyInCaseClash) {
  const fs::path upper = Store({MakeMessage("one", 300)}, temp_.Path() / "x" / "Inbox.dbx");
  const fs::path lower = Store({MakeMessage("two", 300)}, temp_.Path() / "y" / "inbox.dbx");
  ASSERT_EQ(RunCommand({"--quiet", "--output", Utf8(parent_), Utf8(upper), Utf8(lower)}).status, 0);
  const fs::path runFolder = Entries(parent_).at(0);
  EXPECT_EQ(Entries(runFolder), (std::vector<fs::path>{runFolder / "Inbox", runFolder / "inbox(1)"}));
}

TEST_F(RunCliTest, AFolderMeansEveryStoreDirectlyInItInNameOrder) {
  const fs::path folder = temp_.Path() / u"古いディスク";
  const std::string b = MakeMessage("b", 300, 1);
  const std::string c = MakeMessage("c", 300, 2);
  Store({b}, folder / "b.DBX");
  Store({c}, folder / "c.Dbx");
  Store({MakeMessage("not a store", 300, 3)}, folder / "a.dbx.txt");
  Store({MakeMessage("too deep", 300, 4)}, folder / "deeper" / "a.dbx");
  fs::create_directories(folder / "folder.dbx");
  const CliRun run = RunCommand({"--output", Utf8(parent_), Utf8(folder)});

  EXPECT_EQ(run.status, 0) << platform::ToUtf8(run.err);
  const fs::path runFolder = Entries(parent_).at(0);
  EXPECT_EQ(Entries(runFolder), (std::vector<fs::path>{runFolder / "b", runFolder / "c"}));
  EXPECT_EQ(FileContents(runFolder / "b"), std::multiset<std::string>{b});
  EXPECT_EQ(FileContents(runFolder / "c"), std::multiset<std::string>{c});
  EXPECT_TRUE(run.out.starts_with(u"b.DBX: 1通")) << platform::ToUtf8(run.out);
}

TEST_F(RunCliTest, AFolderBatchSkipsTheFilesThatHoldNoMailInTheChoosersOrder) {
  const fs::path folder = temp_.Path() / "identity";
  const std::string inbox = MakeMessage("inbox", 300, 1);
  const std::string deleted = MakeMessage("deleted", 300, 2);
  Store({deleted}, folder / u"削除済みアイテム.dbx");
  Store({inbox}, folder / u"受信トレイ.dbx");
  Store({MakeMessage("uidl", 300, 3)}, folder / "Pop3uidl.dbx");
  // The folder list begins with the stores' magic and goes on otherwise; a copy's name alone would not tell.
  std::string folderList = "\xCF\xAD\x12\xFE\xC6\xFD\x74\x6F";
  folderList.resize(4096, '\0');
  std::ofstream(folder / "Folders.dbx", std::ios::binary) << folderList;
  std::ofstream(folder / "Folders (copy).dbx", std::ios::binary) << folderList;
  const CliRun run = RunCommand({"--output", Utf8(parent_), Utf8(folder)});

  EXPECT_EQ(run.status, 0) << platform::ToUtf8(run.err);
  const fs::path runFolder = Entries(parent_).at(0);
  EXPECT_EQ(Entries(runFolder), (std::vector<fs::path>{runFolder / u"削除済みアイテム", runFolder / u"受信トレイ"}));
  EXPECT_EQ(run.out, u"受信トレイ.dbx: 1通、削除済み領域から0通、途中で切れたもの0通、読めない箇所0か所\n"
                     u"削除済みアイテム.dbx: 1通、削除済み領域から0通、途中で切れたもの0通、読めない箇所0か所\n"
                     u"Folders (copy).dbx: メールを保存するファイルではないため、スキップしました。\n"
                     u"Folders.dbx: メールを保存するファイルではないため、スキップしました。\n"
                     u"Pop3uidl.dbx: メールを保存するファイルではないため、スキップしました。\n"
                     u"合計: 2通、削除済み領域から0通、途中で切れたもの0通、読めない箇所0か所\n" +
                         runFolder.u16string() + u"\n");
}

TEST_F(RunCliTest, AFolderBatchTakesTheFoldersNamesAndNestingFromFoldersDbxUnlessItCannotBeRead) {
  const struct {
    std::uint32_t jobParent;  // 2 makes a cycle
    std::vector<std::u16string> folders;
    std::u16string_view line;
  } cases[] = {
      {1, {u"Mail", u"Mail/Job"}, u"\nMail/Job: 1 messages"},
      {2, {u"Inbox", u"Work"}, u"\nThe folder list (Folders.dbx) could not be read, so the folders are named after their DBX files.\n"},
  };
  for (const auto& c : cases) {
    const fs::path folder = temp_.Path() / std::to_string(c.jobParent);
    Store({MakeMessage("inbox", 300, 1)}, folder / "Inbox.dbx");
    Store({MakeMessage("work", 300, 2)}, folder / "Work.dbx");
    DbxWriter list;
    list.AppendFolderList({{1, 0xFFFFFFFF, "Mail", "Inbox.dbx"}, {2, c.jobParent, "Job", "Work.dbx"}});
    list.Save(folder / "Folders.dbx");
    const fs::path output = parent_ / std::to_string(c.jobParent);
    fs::create_directories(output);
    const CliRun run = RunCommand({"--output", Utf8(output), Utf8(folder)}, Language::English);
    const fs::path runFolder = Entries(output).at(0);
    std::vector<fs::path> folders;
    for (const std::u16string& name : c.folders) folders.push_back(runFolder / fs::path(name).make_preferred());
    std::vector<fs::path> written;
    for (const auto& entry : fs::recursive_directory_iterator(runFolder)) if (entry.is_directory()) written.push_back(entry.path());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, folders);
    EXPECT_NE(run.out.find(fs::path(c.line).make_preferred().u16string()), std::u16string::npos) << platform::ToUtf8(run.out);
  }
}

TEST_F(RunCliTest, AFolderWithOneStoreKeepsTheSingleStoreLayout) {
  const fs::path folder = temp_.Path() / "one";
  const std::string message = MakeMessage("one", 300);
  Store({message}, folder / "only.dbx");
  EXPECT_EQ(RunCommand({"--quiet", "--output", Utf8(parent_), Utf8(folder)}).status, 0);
  EXPECT_EQ(FileContents(Entries(parent_).at(0)), std::multiset<std::string>{message});
}

TEST_F(RunCliTest, AStoreThatCannotBeOpenedIsReportedAndTheOthersAreRecovered) {
  const std::string one = MakeMessage("one", 300, 1);
  const std::string two = MakeMessage("two", 300, 2);
  const fs::path first = Store({one}, temp_.Path() / "first.dbx");
  const fs::path missing = temp_.Path() / u"無い.dbx";
  const fs::path last = Store({two}, temp_.Path() / "last.dbx");
  const CliRun run = RunCommand({"--output", Utf8(parent_), Utf8(first), Utf8(missing), Utf8(last)});

  EXPECT_EQ(run.status, 3);
  EXPECT_TRUE(run.err.starts_with(missing.u16string() + u": DBXファイルをオープンできませんでした。\n" +
                                  missing.u16string() + u"\n理由: "))
      << platform::ToUtf8(run.err);
  const fs::path runFolder = Entries(parent_).at(0);
  EXPECT_EQ(Entries(runFolder), (std::vector<fs::path>{runFolder / "first", runFolder / "last"}))
      << "no folder for the store that could not be opened";
  EXPECT_EQ(FileContents(runFolder / "first"), std::multiset<std::string>{one});
  EXPECT_EQ(FileContents(runFolder / "last"), std::multiset<std::string>{two});
}

TEST_F(RunCliTest, TheFirstFailureGivesTheStatus) {
  const fs::path store = Store({MakeMessage("one", 300)});
  const fs::path empty = temp_.Path() / "empty";
  fs::create_directories(empty);
  const fs::path missing = temp_.Path() / "missing.dbx";
  const struct {
    std::vector<std::string> stores;
    int status;
  } cases[] = {
      {{Utf8(store), Utf8(empty)}, 3},
      {{Utf8(missing), Utf8(store)}, 3},
      {{Utf8(store), Utf8(store)}, 0},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"--quiet", "--output", Utf8(parent_)};
    args.insert(args.end(), c.stores.begin(), c.stores.end());
    EXPECT_EQ(RunCommand(args).status, c.status) << c.stores[0] << " " << c.stores[1];
  }
}

TEST_F(RunCliTest, InEnglishTheBatchLinesAndTheProblemsAreEnglish) {
  const fs::path store = Store({MakeMessage("one", 300, 1)}, temp_.Path() / "first.dbx");
  const fs::path empty = temp_.Path() / "empty";
  fs::create_directories(empty);
  const fs::path missing = temp_.Path() / "missing.dbx";
  const CliRun run =
      RunCommand({"--quiet", "--output", Utf8(parent_), Utf8(store), Utf8(empty), Utf8(missing)}, Language::English);

  EXPECT_EQ(run.status, 3);
  const fs::path runFolder = Entries(parent_).at(0);
  EXPECT_EQ(run.out, u"first.dbx: 1 messages, 0 from freed space, 0 cut short, 0 unreadable places\n"
                     u"missing.dbx: " + std::u16string(Text(TextId::StoreOpenFailed, Language::English)) +
                         u"\nTotal: 1 messages, 0 from freed space, 0 cut short, 0 unreadable places\n" +
                         runFolder.u16string() + u"\n");
  EXPECT_TRUE(run.err.starts_with(u"The folder holds no DBX file.\n" + empty.u16string() + u"\n" +
                                  missing.u16string() + u": The DBX file could not be opened.\n" +
                                  missing.u16string() + u"\nReason: "))
      << platform::ToUtf8(run.err);
}


TEST_F(RunCliTest, ListPrintsARunsListAlignedByDisplayWidth) {
  const std::vector<RunListRow> rows{
      {u"受信トレイ/a.eml", RunListState::Listed, true, 0x6AD4, 900, MailDate{2003, 5, 1, 9, 8, 7}, u"Taro <t@x>", u"会議の件"},
      {u"受信トレイ/削除済みメール/b.eml", RunListState::Deleted, false, 0x7000, 20, MailDate{2001, 1, 1, 0, 0, 0}, u"花子",
       u"Re: 見積もり"},
      {u"", RunListState::Missing, true, 0xEAD4, 0, MailDate{2002, 2, 2, 12, 0, 0}, u"次郎", u"Meeting"},
  };
  const fs::path runFolder = temp_.Path() / u"メール復元";
  fs::create_directories(runFolder);
  std::ofstream(runFolder / u"復元一覧.tsv", std::ios::binary) << WriteRunList(rows, Language::English) << "cut\tshort";
  const std::u16string heading = u"状態           日付                 差出人      件名          ファイル\n";
  const std::u16string deleted = u"削除済み/部分  2001/01/01 00:00:00  花子        Re: 見積もり  受信トレイ/削除済みメール/b.eml\n";
  const std::u16string skipped = u"復元一覧のうち1行は読み取れなかったため、表示していません。\n";
  const struct {
    std::vector<std::string> args;
    int status;
    std::u16string out;
    std::u16string errStart;
  } cases[] = {
      {{"--list", Utf8(runFolder)}, 0,
       heading + deleted + u"見つからない   2002/02/02 12:00:00  次郎        Meeting\n"
                           u"一覧にある     2003/05/01 09:08:07  Taro <t@x>  会議の件      受信トレイ/a.eml\n",
       skipped},
      {{"--list", Utf8(runFolder), "--deleted-only"}, 0,
       u"状態           日付                 差出人  件名          ファイル\n"
       u"削除済み/部分  2001/01/01 00:00:00  花子    Re: 見積もり  受信トレイ/削除済みメール/b.eml\n",
       skipped},
      {{"--list", Utf8(temp_.Path())}, 7, u"", u"復元一覧を読み込めませんでした: "},
      {{"--deleted-only", Utf8(temp_.Path())}, 2, u"", u"--deleted-only は --list と一緒に"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCommand(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    EXPECT_TRUE(run.err.starts_with(c.errStart)) << platform::ToUtf8(run.err);
  }
}

}  // namespace
