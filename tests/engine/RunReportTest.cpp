// The report's sentences: from the outcome alone, and from runs over stores that call for them.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "engine/RunReport.h"
#include "platform/Utf.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

using testsupport::DbxWriter;

TEST(ReportText, AddsEachSentenceWhereTheOutcomeCallsForIt) {
  struct Case {
    RecoveryOutcome outcome;
    std::u16string_view text;  // the question follows whenever mail was found
  };
  const std::vector<Case> cases{
      {{.messageCount = 100343}, u"100343通のメールが見つかりました。"},
      {{}, u"メールが見つかりませんでした。"},
      {{.messageCount = 4, .stopped = true}, u"中断しました。4通のメールが見つかりました。"},
      {{.stopped = true}, u"中断しました。メールが見つかりませんでした。"},
      {{.messageCount = 4, .cutShortCount = 3}, u"4通のメールが見つかりました。うち3通は途中で切れています。"},
      {{.pointerCheckRejects = 1},
       u"メールが見つかりませんでした。「ポインターの正当性チェックを行わない」をオンにすると、さらに見つかる可能性があります。"},
      {{.messageCount = 2, .pointerCheckRejects = 3},
       u"2通のメールが見つかりました。「ポインターの正当性チェックを行わない」をオンにすると、さらに見つかる可能性があります。"},
      {{.messageCount = 3, .pointerCheckRejects = 3}, u"3通のメールが見つかりました。"},  // as many found as refused
      {{.missingSignature = true},
       u"メールが見つかりませんでした。DBXファイルの署名がありません（破損しているか、DBXファイルではありません）。"},
      {{.messageCount = 4, .cutShortCount = 1, .freedCount = 2},
       u"4通のメールが見つかりました。うち1通は途中で切れています。"
       u"削除済み領域から2通のメールを復元しました（512バイトごとに4バイトが失われています）。"},
      {{.freedCount = 1}, u"0通のメールが見つかりました。削除済み領域から1通のメールを復元しました（512バイトごとに4バイトが失われています）。"},
      {{.messageCount = 5, .stopped = true, .unwrittenCount = 5},
       u"中断しました。5通のメールが見つかりました。5通のうち0通を書き出しました。"},
      {{.messageCount = 5, .cutShortCount = 1, .stopped = true, .unwrittenCount = 2},
       u"中断しました。5通のメールが見つかりました。5通のうち3通を書き出しました。うち1通は途中で切れています。"},
      {{.messageCount = 3, .stopped = true, .freedCount = 1, .freedUnwrittenCount = 2},
       u"中断しました。3通のメールが見つかりました。削除済み領域の3通のうち1通を書き出しました。"
       u"削除済み領域から1通のメールを復元しました（512バイトごとに4バイトが失われています）。"},
      {{.stopped = true, .freedUnwrittenCount = 2}, u"中断しました。0通のメールが見つかりました。削除済み領域の2通のうち0通を書き出しました。"},
      {{.messageCount = 2, .stopped = true, .flushFailed = true},
       u"中断しました。2通のメールが見つかりました。書き出したファイルはディスクに保存されていない可能性があります。"},
      {{.messageCount = 3, .index = IndexUse::Whole, .deletedCount = 1, .listedCount = 4, .missingCount = 2},
       u"3通のメールが見つかりました。うち1通は削除されたメールとして「削除済みメール」に分けて書き出しました。"
       u"Outlook Expressの一覧にある4通のうち2通は見つかりませんでした。"},
      {{.messageCount = 1, .index = IndexUse::NotWhole},
       u"1通のメールが見つかりました。Outlook Expressのメール一覧を読み取れなかったため、削除されたメールを分けていません。"},
      {{.messageCount = 1, .index = IndexUse::Absent}, u"1通のメールが見つかりました。"},
      {{.messageCount = 2, .index = IndexUse::Whole, .deletedCount = 2},
       u"2通のメールが見つかりました。Outlook Expressの一覧にメールがないため、見つかったメールはすべて削除されたメールとして書き出しました。"},
  };
  for (const Case& c : cases) {
    const std::u16string question = FoundAny(c.outcome) ? u"出力先フォルダをExplorerで開きますか？" : u"";
    EXPECT_EQ(ReportText(c.outcome, Language::Japanese, true), std::u16string(c.text) + question)
        << platform::ToUtf8(std::u16string(c.text));
  }
}

TEST(ReportText, EnglishSentencesAreSeparatedByASpaceAndTheQuestionIsLeftOutWhenNotAsked) {
  const RecoveryOutcome outcome{.messageCount = 2, .cutShortCount = 1, .stopped = true};
  EXPECT_EQ(ReportText(outcome, Language::English, false), u"The run was stopped. Messages found: 2. Cut short: 1 of them.");
  EXPECT_EQ(ReportText(outcome, Language::Japanese, false), u"中断しました。2通のメールが見つかりました。うち1通は途中で切れています。");
  const RecoveryOutcome unwritten{.messageCount = 4, .unwrittenCount = 1};
  EXPECT_EQ(ReportText(unwritten, Language::English, false), u"Messages found: 4. Written: 3 of 4.");
  const RecoveryOutcome freed{.messageCount = 1, .freedCount = 3};
  EXPECT_EQ(ReportText(freed, Language::English, false),
            u"Messages found: 1. Messages recovered from freed space: 3 (4 bytes of every 512 are lost).");
}

TEST(ReportText, AFrontEndThatOffersTheResultsSaysSoWhenTheRunListsARow) {
  const struct {
    RecoveryOutcome outcome;
    std::u16string_view text;
  } cases[] = {
      {{.messageCount = 1, .index = IndexUse::Absent},
       u"Messages found: 1. Use Results to look through the mail found. Open the output folder in Explorer?"},
      {{.index = IndexUse::Whole, .listedCount = 1, .missingCount = 1},
       u"No mail was found. 1 of the 1 messages the store lists were not found. Use Results to look through the mail found."},
      {{.messageCount = 1}, u"Messages found: 1. Open the output folder in Explorer?"},  // the index was not read
      {{.messageCount = 2, .stopped = true, .unwrittenCount = 2, .index = IndexUse::Whole},
       u"The run was stopped. Messages found: 2. Written: 0 of 2. Open the output folder in Explorer?"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReportText(c.outcome, Language::English, true, true), c.text);
}

TEST(Texts, EveryEntryHasBothLanguagesAndTheTableIsInTextIdOrder) {
  const auto texts = AllTexts();
  ASSERT_EQ(texts.size(), static_cast<std::size_t>(TextId::ResultsHint) + 1);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(static_cast<std::size_t>(texts[i].id), i);
    EXPECT_FALSE(texts[i].japanese.empty()) << i;
    EXPECT_FALSE(texts[i].english.empty()) << i;
    // The same arguments in both.
    for (const std::u16string_view mark : {u"%1", u"%2"})
      EXPECT_EQ(texts[i].japanese.find(mark) == std::u16string_view::npos,
                texts[i].english.find(mark) == std::u16string_view::npos) << i;
  }
}

TEST(Texts, ArgumentsReplaceTheirMarksInOrder) {
  EXPECT_EQ(Text(TextId::WriteFailed, Language::English, {u"/out/Recover1.eml", u"No space left"}),
            u"Writing stopped because a mail file could not be written. The mail written before that is kept.\r\n"
            u"/out/Recover1.eml\r\nNo space left");
  EXPECT_EQ(Text(TextId::ExtractedCount, Language::Japanese, {u"12"}), u"12通のメールを抽出");
  EXPECT_EQ(std::u16string(kRenamingCaption), u"ﾘﾈｰﾑ中");
}

class RunReport : public ::testing::Test {
 protected:
  std::filesystem::path Save(const DbxWriter& writer) {
    const auto store = temp_.Path() / "store.dbx";
    writer.Save(store);
    return store;
  }
  testsupport::TempFolder temp_;
};

TEST_F(RunReport, AShiftedStoreFoundNowhereWithThePointerCheckOnGetsTheHint) {
  DbxWriter writer;
  writer.AppendRaw(std::vector<std::uint8_t>(100, 0));  // the store cut out 100 bytes late
  const auto a = writer.Reserve(2000);
  writer.PlaceMessage(testsupport::MakeMessage("shifted", 1200), {a, a + 528, a + 1056}, -100);
  testsupport::RecordingUi ui(temp_.Path().u16string());
  const auto run = testsupport::RunRecovery(Save(writer), ui);
  EXPECT_EQ(run.outcome.messageCount, 0);
  EXPECT_GE(run.outcome.pointerCheckRejects, 1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            u"メールが見つかりませんでした。「ポインターの正当性チェックを行わない」をオンにすると、さらに見つかる可能性があります。");
}

// A store without the signature, and another Outlook file given alone, are scanned and named for
// what they are.
TEST_F(RunReport, AStoreWithoutTheSignatureOrAnotherOutlookFileIsScannedAndSaysSo) {
  const struct {
    std::int64_t at;
    std::vector<std::uint8_t> bytes;
    bool RecoveryOutcome::*flag;
    std::u16string says, saysNot;
  } cases[] = {
      {0, std::vector<std::uint8_t>(4, 0), &RecoveryOutcome::missingSignature, u"DBXファイルの署名がありません", u"Outlook Expressのメール以外"},
      // the folder list's signature
      {4, {0xC6}, &RecoveryOutcome::otherOutlookFile, u"Outlook Expressのメール以外のファイル（フォルダ一覧など）です。", u"署名"}};
  for (const auto& c : cases) {
    DbxWriter writer;
    writer.AppendMessage(testsupport::MakeMessage("stray", 300));
    writer.Poke(c.at, c.bytes);
    testsupport::RecordingUi ui(temp_.Path().u16string());
    const auto run = testsupport::RunRecovery(Save(writer), ui);
    EXPECT_TRUE(run.outcome.*c.flag) << c.at;
    EXPECT_EQ(run.files.size(), 1u);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find(c.says), std::u16string::npos) << c.at;
    EXPECT_EQ(ui.messages[0].text.find(c.saysNot), std::u16string::npos) << c.at;
  }
}

TEST_F(RunReport, ACutShortMessageIsCounted) {
  DbxWriter writer;
  const auto placed = writer.AppendMessage(testsupport::MakeMessage("cut", 1200));
  writer.PokeInt32(placed.blockOffsets[1] + 12, 0x7FFF0000);  // its next block lies beyond the end
  testsupport::RecordingUi ui(temp_.Path().u16string());
  const auto run = testsupport::RunRecovery(Save(writer), ui);
  EXPECT_EQ(run.outcome.cutShortCount, 1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find(u"うち1通は途中で切れています。"), std::u16string::npos);
}

TEST_F(RunReport, NothingFoundLeavesNoFolderBehind) {
  testsupport::RecordingUi ui(temp_.Path().u16string());
  const auto run = testsupport::RunRecovery(Save(DbxWriter()), ui);
  EXPECT_TRUE(run.outcome.outputFolder.empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp_.Path()), {}), 1) << "only the store is left";
}

TEST_F(RunReport, WhatIsNotARegularFileIsRefusedBeforeAnyFolderIsMade) {
  std::vector<std::filesystem::path> paths{temp_.Path()};
#ifndef _WIN32
  // Opening a FIFO would wait for a writer: the run must not even try.
  paths.push_back(temp_.Path() / "pipe.dbx");
  ASSERT_EQ(::mkfifo(paths.back().c_str(), 0600), 0);
#endif
  const auto parent = temp_.Path() / "out";
  std::filesystem::create_directory(parent);
  for (const auto& path : paths) {
    testsupport::RecordingUi ui(parent.u16string());
    RecoveryRun recoveryRun;
    const RecoveryOutcome outcome = RecoverMails(path.u16string(), recoveryRun, ui);
    EXPECT_EQ(outcome.result, RecoveryResult::StoreOpenFailed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, u"通常のファイルではないため、DBXファイルとして読めません。\r\n" + path.u16string());
    EXPECT_TRUE(std::filesystem::is_empty(parent));
  }
}

}  // namespace
