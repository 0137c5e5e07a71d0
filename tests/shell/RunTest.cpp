#include <gtest/gtest.h>

#include "MessageBoxAnswerer.h"
#include "WindowHarness.h"
#include "discovery/Identities.h"
#include "engine/RecoveryRun.h"
#include "shell/resource.h"

namespace {

using Id = ControlId;
using Running = WindowHarness;

// Lets the window handle events the way the engine does, until done or a few seconds have passed.
void PumpUntil(RecoveryUi& ui, const std::function<bool()>& done) {
  const ULONGLONG end = GetTickCount64() + 3000;
  while (!done() && GetTickCount64() < end) {
    ui.PumpEvents();
    Sleep(1);
  }
}

// What the engine shows while it extracts.
void EnterExtraction(RecoveryUi& ui) {
  ui.SetVisible(StatusControl::lblMessage, false);
  ui.SetVisible(StatusControl::cmdStart, false);
  ui.SetVisible(StatusControl::cmdStop, true);
}

void LeaveExtraction(RecoveryUi& ui) {
  ui.SetVisible(StatusControl::lblMessage, true);
  ui.SetVisible(StatusControl::cmdStart, true);
  ui.SetVisible(StatusControl::cmdStop, false);
}

TEST_F(Running, StartWithTheDefaultOptionRecoversTheIdentitysInbox) {
  Open();
  Click(Id::cmdStart);
  ASSERT_EQ(runPaths_.size(), 1u);
  EXPECT_EQ(runPaths_[0], u"C:\\Mail\\受信トレイ.dbx");
}

TEST_F(Running, AnIdentityWithoutAStoreFolderNeverRunsOnTheBareInboxName) {
  users_.StoreFolders = {u"C:\\Mail1", u""};
  Open();
  Click(Id::cmdStart);
  EXPECT_TRUE(runPaths_.empty()) << "Start waits for a DBX file";
  EXPECT_FALSE(Enabled(Id::optDefault)) << "the Inbox cannot be chosen";
}

TEST_F(Running, StartWithTheFolderOptionTakesTheTextUnchanged) {
  Open();
  Click(Id::optFolder);
  Replace(Id::txtDBXFile, L"  D:\\old mail\\Inbox.dbx ");
  Click(Id::cmdStart);
  ASSERT_EQ(runPaths_.size(), 1u);
  EXPECT_EQ(runPaths_[0], u"  D:\\old mail\\Inbox.dbx ");
}

TEST_F(Running, SkipPointerCheckFollowsTheCheckBox) {
  Open();
  for (const bool checked : {true, false, true}) {
    SendMessageW(Control(Id::chkPointer), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    Click(Id::cmdStart);
    EXPECT_EQ(options_.SkipPointerCheck, checked);
  }
}

TEST_F(Running, RecoverFreedFollowsTheCheckBox) {
  Open();
  for (const bool checked : {false, true, false}) {
    SendMessageW(Control(Id::chkFreed), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    Click(Id::cmdStart);
    EXPECT_EQ(options_.RecoverFreed, checked);
  }
}

TEST_F(Running, InputsAreLockedDuringTheRunAndGivenBackAfterIt) {
  bool checked = false;
  Open([&](RecoveryUi&) {
    checked = true;
    EXPECT_TRUE(form_->Running());
    EXPECT_FALSE(Enabled(Id::picFrame));
    // The option boxes lie in the locked panel, which takes their clicks and keys.
    for (const Id box : {Id::chkPointer, Id::chkFreed}) EXPECT_EQ(GetParent(Control(box)), Control(Id::picFrame));
    EXPECT_FALSE(Enabled(Id::cmdFindDBX));
    EXPECT_FALSE(Enabled(Id::cmdFindEML));
    EXPECT_FALSE(MenuItemEnabled(IDM_FILE_EXIT));
    EXPECT_FALSE(MenuItemEnabled(IDM_HELP_HELP));
    EXPECT_FALSE(MenuItemEnabled(IDM_HELP_ABOUT));
    const HMENU bar = GetMenu(form_->Window());
    EXPECT_EQ(GetMenuState(bar, 0, MF_BYPOSITION) & MF_GRAYED, 0u) << "the File menu itself stays usable";
    EXPECT_EQ(GetMenuState(bar, 1, MF_BYPOSITION) & MF_GRAYED, 0u) << "the Help menu itself stays usable";
  });
  Click(Id::cmdStart);
  ASSERT_TRUE(checked);
  EXPECT_FALSE(form_->Running());
  EXPECT_TRUE(Enabled(Id::picFrame));
  EXPECT_TRUE(Enabled(Id::cmdFindDBX));
  EXPECT_TRUE(Enabled(Id::cmdFindEML));
  EXPECT_TRUE(MenuItemEnabled(IDM_FILE_EXIT));
  EXPECT_TRUE(MenuItemEnabled(IDM_HELP_HELP));
  EXPECT_TRUE(MenuItemEnabled(IDM_HELP_ABOUT));
}

TEST_F(Running, StopAnsweredNoKeepsTheRunGoingAndYesStopsIt) {
  const MessageBoxAnswerer answerer({IDNO, IDYES});
  Open([&](RecoveryUi& ui) {
    EnterExtraction(ui);
    PostMessageW(Control(Id::cmdStop), BM_CLICK, 0, 0);
    PumpUntil(ui, [&] { return answerer.Shown().size() == 1; });
    EXPECT_FALSE(run_->StopRequested.load());
    PostMessageW(Control(Id::cmdStop), BM_CLICK, 0, 0);
    PumpUntil(ui, [&] { return answerer.Shown().size() == 2; });
    EXPECT_TRUE(run_->StopRequested.load());
    EXPECT_FALSE(run_->QuitRequested.load());
    LeaveExtraction(ui);
  });
  Click(Id::cmdStart);
  ASSERT_EQ(answerer.Shown().size(), 2u);
  for (const ShownMessageBox& box : answerer.Shown()) {
    EXPECT_EQ(box.caption, L"Palvenor");
    EXPECT_EQ(box.text, L"停止しますか?");
    EXPECT_TRUE(box.yesNo);
    EXPECT_TRUE(box.questionIcon);
  }
  EXPECT_NE(form_->Window(), nullptr) << "a stop returns the window to idle";
  EXPECT_TRUE(Enabled(Id::picFrame));
  EXPECT_TRUE(Visible(Id::cmdStart));
}

TEST_F(Running, EscAsksToStop) {
  const MessageBoxAnswerer answerer({IDYES});
  Open([&](RecoveryUi& ui) {
    EnterExtraction(ui);
    MSG escape{GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(form_->TranslateDialogKeys(escape));
    EXPECT_TRUE(run_->StopRequested.load());
    LeaveExtraction(ui);
  });
  Click(Id::cmdStart);
  ASSERT_EQ(answerer.Shown().size(), 1u);
  EXPECT_EQ(answerer.Shown()[0].text, L"停止しますか?");
}

TEST_F(Running, CloseDuringARunAsksAndClosesOnlyAfterTheRun) {
  const MessageBoxAnswerer answerer({IDNO, IDYES, IDNO});
  Open([&](RecoveryUi& ui) {
    EnterExtraction(ui);
    PostMessageW(form_->Window(), WM_CLOSE, 0, 0);
    PumpUntil(ui, [&] { return answerer.Shown().size() == 1; });
    EXPECT_FALSE(run_->StopRequested.load()) << "No leaves the run going";
    EXPECT_FALSE(run_->QuitRequested.load());
    PostMessageW(form_->Window(), WM_CLOSE, 0, 0);
    PumpUntil(ui, [&] { return answerer.Shown().size() == 2; });
    EXPECT_TRUE(run_->StopRequested.load());
    EXPECT_TRUE(run_->QuitRequested.load());
    EXPECT_NE(form_->Window(), nullptr) << "the window waits for the run";
    PostMessageW(form_->Window(), WM_CLOSE, 0, 0);
    PumpUntil(ui, [&] { return answerer.Shown().size() == 3; });
    EXPECT_TRUE(run_->QuitRequested.load()) << "a later No does not undo the Yes";
    EXPECT_NE(form_->Window(), nullptr);
    LeaveExtraction(ui);
  });
  Click(Id::cmdStart);
  ASSERT_EQ(answerer.Shown().size(), 3u);
  for (const ShownMessageBox& box : answerer.Shown()) {
    EXPECT_EQ(box.caption, L"Palvenor");
    EXPECT_EQ(box.text, L"終了しますか?");
    EXPECT_TRUE(box.yesNo);
    EXPECT_TRUE(box.questionIcon);
  }
  EXPECT_EQ(form_->Window(), nullptr) << "the window closes once the run has returned";
  EXPECT_EQ(closedCount_, 1);
}

}  // namespace
