#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "MessageBoxAnswerer.h"
#include "Screenshot.h"
#include "WindowHarness.h"
#include "engine/RecoveryRun.h"
#include "platform/WriteFaults.h"
#include "shell/resource.h"
#include "tests/support/DbxWriter.h"

namespace {

using Id = ControlId;
constexpr int kMessages = 120;

// What the status bar showed at one moment of a run.
struct StatusBarState {
  bool proc, rename, message, progressBar, percent, status, start, stop, stepsEnabled;
  std::wstring messageText, statusText, percentText;
  int progress;
};

// Passes the run's calls on to the window and notes, after each one, what the window shows.
class ObservedUi : public RecoveryUi {
 public:
  ObservedUi(RecoveryUi& window, std::function<HWND(Id)> control) : window_(window), control_(std::move(control)) {}

  std::vector<StatusBarState> states;
  // Every moment at which a control differed from what the run had last asked of it.
  std::vector<std::string> mismatches;
  std::function<void(const StatusBarState&)> onChange;
  std::atomic<int> pumps{0};

  std::u16string OutputParentFolder() override { return window_.OutputParentFolder(); }
  void SetVisible(StatusControl c, bool visible) override {
    window_.SetVisible(c, visible);
    requestedVisible_[c] = visible;
    Note();
  }
  void SetCaption(StatusControl c, const std::u16string& caption) override {
    window_.SetCaption(c, caption);
    requestedCaption_[c] = std::wstring(caption.begin(), caption.end());
    Note();
  }
  void SetProgress(int value) override {
    window_.SetProgress(value);
    requestedProgress_ = value;
    Note();
  }
  void SetBusyPointer(bool busy) override { window_.SetBusyPointer(busy); }
  MessageAnswer ShowMessage(const UiMessage& message) override { return window_.ShowMessage(message); }
  void PumpEvents() override {
    window_.PumpEvents();
    ++pumps;
  }
  void OpenFolder(const std::u16string& path) override { window_.OpenFolder(path); }
  bool OffersResults() const override { return window_.OffersResults(); }

 private:
  void Note() {
    const auto shown = [&](Id id) { return IsWindowVisible(control_(id)) != FALSE; };
    const auto text = [&](Id id) {
      wchar_t buffer[256] = {};
      GetWindowTextW(control_(id), buffer, 256);
      return std::wstring(buffer);
    };
    StatusBarState state{shown(Id::lblProc),
                         shown(Id::lblRename),
                         shown(Id::lblMessage),
                         shown(Id::prgStatus),
                         shown(Id::lblPercent),
                         shown(Id::lblStatus),
                         shown(Id::cmdStart),
                         shown(Id::cmdStop),
                         IsWindowEnabled(control_(Id::picFrame)) != FALSE,
                         text(Id::lblMessage),
                         text(Id::lblStatus),
                         text(Id::lblPercent),
                         static_cast<int>(SendMessageW(control_(Id::prgStatus), PBM_GETPOS, 0, 0))};
    states.push_back(state);
    for (const auto& [c, visible] : requestedVisible_) {
      if (shown(ControlOf(c)) != visible) mismatches.push_back("visibility of control " + std::to_string(static_cast<int>(c)));
    }
    for (const auto& [c, caption] : requestedCaption_) {
      if (text(ControlOf(c)) != caption) mismatches.push_back("caption of control " + std::to_string(static_cast<int>(c)));
    }
    if (requestedProgress_ >= 0 && state.progress != requestedProgress_) mismatches.push_back("progress");
    if (onChange) onChange(state);
  }

  static Id ControlOf(StatusControl c) {
    switch (c) {
      case StatusControl::lblMessage: return Id::lblMessage;
      case StatusControl::lblProc: return Id::lblProc;
      case StatusControl::lblRename: return Id::lblRename;
      case StatusControl::lblPercent: return Id::lblPercent;
      case StatusControl::lblStatus: return Id::lblStatus;
      case StatusControl::prgStatus: return Id::prgStatus;
      case StatusControl::cmdStart: return Id::cmdStart;
      case StatusControl::cmdStop: return Id::cmdStop;
    }
    return Id::None;
  }

  RecoveryUi& window_;
  std::function<HWND(Id)> control_;
  std::map<StatusControl, bool> requestedVisible_;
  std::map<StatusControl, std::wstring> requestedCaption_;
  int requestedProgress_ = -1;
};

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class EngineRun : public WindowHarness {
 protected:
  void SetUp() override {
    WindowHarness::SetUp();
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::filesystem::path(temp) / ("palvenor-gui-" + std::to_string(GetCurrentProcessId()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_ / "out");
    testsupport::DbxWriter store;
    for (int i = 1; i <= kMessages; ++i) {
      store.AppendMessage(testsupport::MakeMessage("Message " + std::to_string(i), 20000, static_cast<std::uint32_t>(i)));
    }
    store.Save(folder_ / "Inbox.dbx");
  }
  void TearDown() override {
    WindowHarness::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // Opens the window on the generated store, running the real engine through an observer.
  void OpenOnStore(std::function<void(ObservedUi&)> prepare = {}) {
    OpenWith([this, prepare](const std::u16string& dbxPath, RecoveryRun& run, RecoveryUi& ui) {
      ObservedUi observed(ui, [this](Id id) { return Control(id); });
      if (prepare) prepare(observed);
      RecoverMails(dbxPath, run, observed);
      states_ = observed.states;
      mismatches_ = observed.mismatches;
    });
    ChooseTheStore();
  }

  // Opens the window on the generated store with the writer held at the file in hand: atFile runs there,
  // then the writer waits until the window's Stop has been answered and the run has pumped twice since
  // (the first pump sees the stop, the next comes once the writing was told), so that a test does not
  // depend on how fast the files are written.
  void OpenHeldAtFile(int fileInHand, std::function<void(ObservedUi&)> prepare, std::function<void()> atFile) {
    OpenWith([=, this](const std::u16string& dbxPath, RecoveryRun& windowRun, RecoveryUi& ui) {
      ObservedUi observed(ui, [this](Id id) { return Control(id); });
      if (prepare) prepare(observed);
      RunOptions options = windowRun.Options;
      RecoveryRun* run = nullptr;
      const auto waitFor = [](const std::function<bool()>& done) {
        for (const ULONGLONG end = GetTickCount64() + 5000; !done() && GetTickCount64() < end;) Sleep(1);
      };
      options.WriteFaults = std::make_shared<platform::WriteFaults>(
          std::vector<platform::WriteFault>{}, [&](platform::WriteCall call, int nth) {
            if (call != platform::WriteCall::Create || nth != fileInHand) return;
            if (atFile) atFile();
            waitFor([&] { return windowRun.StopRequested.load(); });
            const int seen = observed.pumps;
            run->StopRequested = windowRun.StopRequested.load();
            waitFor([&] { return observed.pumps >= seen + 2; });
          });
      RecoveryRun own(options);
      run = &own;
      RecoverMails(dbxPath, own, observed);
    });
    ChooseTheStore();
  }

  void ChooseTheStore() {
    Click(Id::optFolder);
    Replace(Id::txtDBXFile, (folder_ / "Inbox.dbx").wstring());
    Replace(Id::txtEMLFolder, (folder_ / "out").wstring());
  }

  std::size_t OutputFiles() const {
    std::size_t count = 0;
    for (const auto& run : std::filesystem::directory_iterator(folder_ / "out")) {
      for (const auto& file : std::filesystem::directory_iterator(run.path())) count += file.is_regular_file() ? 1 : 0;
    }
    return count;
  }

  std::filesystem::path folder_;
  std::vector<StatusBarState> states_;
  std::vector<std::string> mismatches_;
};

TEST_F(EngineRun, StatusBarFollowsThePhasesAndTheReportAsks) {
  const MessageBoxAnswerer answerer({IDNO});
  bool photographed = false;
  OpenOnStore([&](ObservedUi& ui) {
    ui.onChange = [&](const StatusBarState& state) {
      if (!photographed && state.proc && state.progress >= 30 && state.percentText == std::to_wstring(state.progress) + L"%") {
        photographed = true;
        SaveScreenshot(form_->Window(), L"main-window-running");
      }
    };
  });
  Click(Id::cmdStart);

  const auto extracting = std::find_if(states_.begin(), states_.end(), [](const StatusBarState& s) {
    return s.proc && s.stop && EndsWith(s.statusText, L"通のメールを抽出") && s.statusText != L"0通のメールを抽出";
  });
  ASSERT_NE(extracting, states_.end());
  EXPECT_FALSE(extracting->message);
  EXPECT_FALSE(extracting->rename);
  EXPECT_TRUE(extracting->progressBar);
  EXPECT_TRUE(extracting->percent);
  EXPECT_TRUE(extracting->status);
  EXPECT_FALSE(extracting->start);
  EXPECT_FALSE(extracting->stepsEnabled);
  EXPECT_EQ(extracting->percentText, std::to_wstring(extracting->progress) + L"%");

  EXPECT_EQ(mismatches_, std::vector<std::string>{}) << "the window shows at every step what the run asked for";

  EXPECT_TRUE(Visible(Id::cmdStart));
  EXPECT_FALSE(Visible(Id::cmdStop));
  EXPECT_TRUE(Visible(Id::lblMessage));
  for (const Id hidden : {Id::lblRename, Id::prgStatus, Id::lblPercent, Id::lblStatus}) {
    EXPECT_FALSE(Visible(hidden));
  }
  EXPECT_TRUE(Enabled(Id::picFrame));

  ASSERT_EQ(answerer.Shown().size(), 1u);
  const ShownMessageBox& report = answerer.Shown()[0];
  EXPECT_EQ(report.caption, L"Palvenor");
  EXPECT_EQ(report.text, std::to_wstring(kMessages) + L"通のメールが見つかりました。見つかったメールは［結果一覧］で確かめられます。出力先フォルダをExplorerで開きますか？");
  EXPECT_TRUE(report.yesNo);
  EXPECT_TRUE(report.questionIcon);
  EXPECT_EQ(OutputFiles(), static_cast<std::size_t>(kMessages));
  EXPECT_TRUE(photographed);
}

TEST_F(EngineRun, FreedBoxDecidesWhetherTheFreedMessagesAreWritten) {
  testsupport::DbxWriter store;
  store.AppendMessage(testsupport::MakeMessage("live", 900, 1));
  store.FreeMessage(store.AppendMessage(testsupport::MakeMessage("gone", 700, 2)));
  store.Save(folder_ / "Inbox.dbx");
  const MessageBoxAnswerer answerer({IDNO, IDNO});
  OpenOnStore();
  ASSERT_TRUE(Checked(Id::chkFreed));
  Click(Id::cmdStart);
  Click(Id::chkFreed);
  ASSERT_FALSE(Checked(Id::chkFreed));
  Click(Id::cmdStart);

  std::vector<std::filesystem::path> runs;
  for (const auto& run : std::filesystem::directory_iterator(folder_ / "out")) runs.push_back(run.path());
  std::sort(runs.begin(), runs.end());  // the second run's folder sorts after the first's
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_TRUE(std::filesystem::exists(runs[0] / L"削除済みメール" / "gone.eml"));
  EXPECT_FALSE(std::filesystem::exists(runs[1] / L"削除済みメール"));
  EXPECT_TRUE(std::filesystem::exists(runs[1] / "live.eml"));
  ASSERT_EQ(answerer.Shown().size(), 2u);
  EXPECT_EQ(answerer.Shown()[0].text, L"1通のメールが見つかりました。"
                                      L"削除済み領域から1通のメールを復元しました（512バイトごとに4バイトが失われています）。"
                                      L"見つかったメールは［結果一覧］で確かめられます。出力先フォルダをExplorerで開きますか？");
  EXPECT_EQ(answerer.Shown()[1].text,
            L"1通のメールが見つかりました。見つかったメールは［結果一覧］で確かめられます。出力先フォルダをExplorerで開きますか？");
}

TEST_F(EngineRun, StopYesEndsTheRunAndReturnsToIdle) {
  const MessageBoxAnswerer answerer({IDYES, IDNO});
  // The scan may be over before the window's throttled pump takes the click; the writer's first file
  // then waits for the answer, so that the stop always ends the run early.
  OpenHeldAtFile(
      1,
      [&](ObservedUi& observed) {
        observed.onChange = [&, posted = false](const StatusBarState& state) mutable {
          if (!posted && state.statusText == L"10通のメールを抽出") {
            posted = true;
            PostMessageW(Control(Id::cmdStop), BM_CLICK, 0, 0);
          }
        };
      },
      {});
  Click(Id::cmdStart);
  ASSERT_EQ(answerer.Shown().size(), 2u);
  EXPECT_EQ(answerer.Shown()[0].text, L"停止しますか?");
  EXPECT_NE(answerer.Shown()[1].text.find(L"通のメールが見つかりました。"), std::wstring::npos);
  EXPECT_LT(OutputFiles(), static_cast<std::size_t>(kMessages)) << "the run stopped early";
  EXPECT_NE(form_->Window(), nullptr);
  EXPECT_TRUE(Enabled(Id::picFrame));
  EXPECT_TRUE(Visible(Id::cmdStart));
}

TEST_F(EngineRun, StopYesWhileTheFilesAreWrittenEndsTheWritingAfterTheFileInHand) {
  const MessageBoxAnswerer answerer({IDYES, IDNO});
  constexpr int kFileInHand = 61;
  bool stopUsable = false;
  OpenHeldAtFile(kFileInHand, {}, [&] {
    stopUsable = Visible(Id::cmdStop) && Enabled(Id::cmdStop);
    PostMessageW(Control(Id::cmdStop), BM_CLICK, 0, 0);
  });
  Click(Id::cmdStart);
  ASSERT_EQ(answerer.Shown().size(), 2u);
  EXPECT_TRUE(stopUsable) << "Stop stays usable while the files are written";
  EXPECT_EQ(answerer.Shown()[0].text, L"停止しますか?");
  EXPECT_EQ(OutputFiles(), static_cast<std::size_t>(kFileInHand));
  EXPECT_NE(answerer.Shown()[1].text.find(L"120通のうち61通を書き出しました。"), std::wstring::npos);
}

TEST_F(EngineRun, CloseYesEndsTheRunAndClosesWithoutTheReport) {
  const MessageBoxAnswerer answerer({IDYES});
  OpenOnStore([&](ObservedUi& ui) {
    ui.onChange = [&, posted = false](const StatusBarState& state) mutable {
      if (!posted && state.statusText == L"10通のメールを抽出") {
        posted = true;
        PostMessageW(form_->Window(), WM_CLOSE, 0, 0);
      }
    };
  });
  Click(Id::cmdStart);
  ASSERT_EQ(answerer.Shown().size(), 1u) << "no report after a close";
  EXPECT_EQ(answerer.Shown()[0].text, L"終了しますか?");
  EXPECT_EQ(form_->Window(), nullptr);
  EXPECT_EQ(closedCount_, 1);
}

TEST_F(EngineRun, AnUnopenableStoreIsReportedAndTheWindowStaysIdle) {
  const MessageBoxAnswerer answerer;
  OpenOnStore();
  Replace(Id::txtDBXFile, (folder_ / "missing.dbx").wstring());
  Click(Id::cmdStart);
  ASSERT_EQ(answerer.Shown().size(), 1u);
  EXPECT_EQ(answerer.Shown()[0].caption, L"Palvenor");
  EXPECT_EQ(answerer.Shown()[0].text, L"DBXファイルをオープンできませんでした。\r\n" + (folder_ / "missing.dbx").wstring());
  EXPECT_TRUE(Enabled(Id::picFrame));
  EXPECT_TRUE(Visible(Id::cmdStart));
}

TEST_F(EngineRun, AFailureInsideTheRunIsReportedAndTheWindowComesBackToRest) {
  const MessageBoxAnswerer answerer;
  OpenOnStore([](ObservedUi& ui) {
    // The failure comes while the files are being written.
    ui.onChange = [](const StatusBarState& state) {
      if (state.rename && state.progress > 0) throw std::runtime_error("forced failure");
    };
  });
  Click(Id::cmdStart);

  ASSERT_EQ(answerer.Shown().size(), 1u);
  EXPECT_EQ(answerer.Shown()[0].caption, L"Palvenor");
  EXPECT_EQ(answerer.Shown()[0].text, L"復元中に予期しないエラーが発生しました。\r\nforced failure");
  EXPECT_TRUE(answerer.Shown()[0].criticalIcon);
  EXPECT_GT(OutputFiles(), 0u) << "what was written stays";

  EXPECT_FALSE(form_->Running());
  for (const Id enabled : {Id::picFrame, Id::cmdFindDBX, Id::cmdFindEML}) EXPECT_TRUE(Enabled(enabled));
  for (const UINT item : {IDM_FILE_EXIT, IDM_HELP_HELP, IDM_HELP_ABOUT}) EXPECT_TRUE(MenuItemEnabled(item));
  EXPECT_TRUE(Visible(Id::cmdStart));
  EXPECT_TRUE(Visible(Id::lblMessage));
  EXPECT_EQ(Text(Id::lblMessage), L"");
  for (const Id hidden : {Id::cmdStop, Id::lblProc, Id::lblRename, Id::prgStatus, Id::lblPercent, Id::lblStatus}) {
    EXPECT_FALSE(Visible(hidden));
  }
  SendMessageW(form_->Window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form_->Window()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_WAIT)) << "the busy pointer is off";
}

}  // namespace
