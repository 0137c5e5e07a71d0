#include "shell/MainWindow.h"

#include <exception>
#include <optional>

#include "discovery/Identities.h"
#include "engine/BatchReport.h"
#include "engine/RecoveryRun.h"
#include "engine/StoreBatch.h"
#include "engine/Texts.h"
#include "engine/naming/DecimalText.h"
#include "platform/Files.h"
#include "platform/FolderListing.h"
#include "platform/Paths.h"
#include "platform/Utf.h"
#include "platform/win32/Wide.h"
#include "shell/AboutWindow.h"
#include "shell/BrowseForFolder.h"
#include "shell/StorePaths.h"
#include "shell/resource.h"
#include "win32ui/ControlTable.h"
#include "win32ui/WindowText.h"

namespace {

// The Inbox of a Japanese system, and else of an English one.
constexpr const char16_t* kInboxFiles[] = {u"\\受信トレイ.dbx", u"\\Inbox.dbx"};

}  // namespace

// Without an identity (as on systems that never had the mail client), or without its Inbox, there is
// no Inbox to offer, nor a store folder to recover whole: the store has to be named in the box.
void frmMain::Form_Load() {
  const auto current = static_cast<std::size_t>(users_.CurrentUserIndex);
  const std::u16string& userName = users_.UserNames[current];
  const std::u16string owner = userName.empty() ? u"" : Text(WindowText::InboxOwner, language_, {WithPlainAmpersands(userName)});
  SetText(Control(ControlId::optDefault), owner + Text(WindowText::Inbox, language_));
  if (DefaultStorePath().empty()) {
    EnableWindow(Control(ControlId::optDefault), FALSE);
    EnableWindow(Control(ControlId::optAll), FALSE);
    SelectFolderOption();
  }
  SetTextRaisingChange(ControlId::txtEMLFolder, users_.DocumentsFolder);
  SetLabelCaption(ControlId::lblMessage, u"");
}

bool frmMain::Form_QueryUnload() {
  if (!IsRunning) return false;
  if (AskYesNo(WindowText::QuitQuestion) && run_ != nullptr) {
    run_->StopRequested = true;
    run_->QuitRequested = true;
  }
  // The run winds up first; cmdStart_Click closes the window when it returns.
  return true;
}

void frmMain::Form_Unload() {
  if (HelpOpened) help_.CloseAll(window_);
  if (closed_) closed_();
}

// While a run goes on the steps are locked, so a drop then changes nothing.
void frmMain::Form_DropFiles(HDROP drop) {
  const std::vector<std::u16string> paths = DroppedPaths(drop);
  DragFinish(drop);
  if (!IsRunning) OfferDbxFiles(paths);
}

// The second start has checked the paths already; it waits for the answer, so nothing here may ask.
bool frmMain::Form_StorePathHanded(const COPYDATASTRUCT& data) {
  if (data.dwData != kStorePathData || IsRunning || !IsWindowEnabled(window_)) return false;
  UseDbxFiles(JoinedStorePaths(std::u16string(static_cast<const char16_t*>(data.lpData), data.cbData / sizeof(char16_t))));
  return true;
}

void frmMain::OfferDbxFiles(const std::vector<std::u16string>& paths) {
  if (const std::optional<std::u16string> refusal = StorePathRefusal(paths, language_)) {
    ShowMessage(UiMessage{*refusal, MessageIcon::Exclamation, MessageButtons::Ok, {}});
    return;
  }
  UseDbxFiles(paths);
}

// A folder is shown as it is, and its stores are listed when the run starts; several files are named
// by their count.
void frmMain::UseDbxFiles(const std::vector<std::u16string>& paths) {
  if (paths.size() == 1) {
    UseDbxFile(paths.front());
    return;
  }
  droppedCaption_ = Text(TextId::DbxFileCount, TextLanguage(), {DecimalText(static_cast<std::int64_t>(paths.size()))});
  droppedStores_ = paths;
  UseDbxFile(droppedCaption_);
}

void frmMain::cmdStart_Click() {
  IsRunning = true;
  SetInputsEnabledForRun(true);
  const RunOptions options{IsChecked(ControlId::chkPointer), IsChecked(ControlId::chkFreed)};
  const std::optional<std::vector<BatchStore>> batch = ChosenBatch();
  const bool quit = batch ? RecoverBatch(*batch, options)
                          : Recover(IsChecked(ControlId::optDefault) ? DefaultStorePath()
                                                                     : GetText(Control(ControlId::txtDBXFile)),
                                    options);
  run_ = nullptr;
  IsRunning = false;
  SetInputsEnabledForRun(false);
  if (quit) {
    SendMessageW(window_, WM_CLOSE, 0, 0);
  } else if (!results_.rows.empty()) {
    // The report has been read: Enter now opens the list.
    lastFocus_ = Control(ControlId::cmdResults);
    if (GetActiveWindow() == window_) SetFocus(lastFocus_);
  }
}

std::optional<std::vector<BatchStore>> frmMain::ChosenBatch() const {
  platform::OsError error;
  if (IsChecked(ControlId::optAll)) {
    // A folder that cannot be listed gives a batch of nothing, which reports that nothing was found.
    return FolderStores(users_.StoreFolderAt(users_.CurrentUserIndex), error).value_or(std::vector<BatchStore>{});
  }
  if (!IsChecked(ControlId::optFolder)) return std::nullopt;
  const std::u16string box = GetText(Control(ControlId::txtDBXFile));
  if (!droppedStores_.empty() && box == droppedCaption_) {
    std::vector<BatchStore> stores;
    for (const std::u16string& path : droppedStores_) stores.push_back({path, false, std::nullopt});
    return stores;
  }
  if (platform::IsFolder(box)) return FolderStores(box, error).value_or(std::vector<BatchStore>{});
  return std::nullopt;
}

std::u16string frmMain::DefaultStorePath() const {
  const std::u16string& folder = users_.StoreFolderAt(users_.CurrentUserIndex);
  if (folder.empty()) return {};
  for (const char16_t* inbox : kInboxFiles) {
    const std::u16string path = folder + inbox;
    if (platform::KindOfPath(path) == platform::PathKind::RegularFile) return path;
  }
  return {};
}

void frmMain::cmdStop_Click() {
  if (AskYesNo(WindowText::StopQuestion) && run_ != nullptr) run_->StopRequested = true;
}

void frmMain::cmdFindDBX_Click() {
  const std::optional<std::u16string> chosen = chooseDbxFile_(window_, users_, language_);
  if (chosen) UseDbxFile(*chosen);
}

void frmMain::cmdFindEML_Click() {
  const std::u16string folder = BrowseForFolder(window_, Text(WindowText::ChooseFolder, language_));
  if (!folder.empty()) SetTextRaisingChange(ControlId::txtEMLFolder, folder);
}

void frmMain::optDefault_Click() { UpdateStartEnabled(); }
void frmMain::optFolder_Click() { UpdateStartEnabled(); }
void frmMain::optAll_Click() { UpdateStartEnabled(); }
void frmMain::txtDBXFile_Change() {
  if (GetText(Control(ControlId::txtDBXFile)) != droppedCaption_) droppedStores_.clear();
  UpdateStartEnabled();
}
void frmMain::txtEMLFolder_Change() { UpdateStartEnabled(); }

void frmMain::txtDBXFile_GotFocus() { SetLabelCaption(ControlId::lblMessage, Text(WindowText::StoreHint, language_)); }
void frmMain::txtEMLFolder_GotFocus() { SetLabelCaption(ControlId::lblMessage, Text(WindowText::OutputHint, language_)); }

// A box the user leaves shows the end of its path again, wherever the caret was.
void frmMain::txtDBXFile_LostFocus() {
  SetLabelCaption(ControlId::lblMessage, u"");
  ShowPathEnd(ControlId::txtDBXFile);
}

void frmMain::txtEMLFolder_LostFocus() {
  SetLabelCaption(ControlId::lblMessage, u"");
  ShowPathEnd(ControlId::txtEMLFolder);
}

void frmMain::cmdResults_Click() { frmResults::Show(window_, language_, results_); }
void frmMain::mnuFileResults_Click() { cmdResults_Click(); }

// The focused Results button is the one Enter presses, and shows it as Start does otherwise.
void frmMain::cmdResults_GotFocus() {
  SendMessageW(Control(ControlId::cmdStart), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  SendMessageW(Control(ControlId::cmdResults), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void frmMain::cmdResults_LostFocus() {
  SendMessageW(Control(ControlId::cmdResults), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  SendMessageW(Control(ControlId::cmdStart), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void frmMain::mnuFileExit_Click() { SendMessageW(window_, WM_CLOSE, 0, 0); }

// A missing help file is left to the help system to show (or not).
void frmMain::mnuHelpHelp_Click() {
  help_.DisplayTopic(window_, HelpFilePath(ProgramFolder(), language_));
  HelpOpened = true;
}

void frmMain::mnuHelpAbout_Click() { frmAbout::Show(window_, language_); }

// This handler was called by the window manager, which an exception must not unwind through. What the
// run wrote so far stays on disk; the user learns what failed, and the window is ready for another run.
bool frmMain::Guarded(const std::function<bool()>& run, RecoveryRun& survivor) {
  try {
    return run();
  } catch (const std::exception& failure) {
    run_ = &survivor;
    ShowUnexpectedFailure(platform::FromUtf8(failure.what()));
  } catch (...) {
    run_ = &survivor;
    ShowUnexpectedFailure(u"");
  }
  return false;
}

bool frmMain::Recover(const std::u16string& dbxPath, const RunOptions& options) {
  RecoveryRun run(options);
  run_ = &run;
  results_ = {};
  const bool quit = Guarded(
      [&] {
        recover_(dbxPath, run, *this);
        return false;
      },
      run);
  results_ = {run.Outcome.outputFolder, std::move(run.ListRows).value_or(std::vector<RunListRow>{})};
  return quit || run.QuitRequested;
}

// The stores' rows are under their subfolders already; together they are the batch's list.
void frmMain::StoreFinished(const RecoveryOutcome&) {
  if (run_ != nullptr && run_->ListRows) {
    results_.rows.insert(results_.rows.end(), run_->ListRows->begin(), run_->ListRows->end());
  }
}

// Each store's run is the one Stop and the close box reach while it goes; while the report is shown,
// a close asked for reaches a run of its own, since the stores' runs are over.
bool frmMain::RecoverBatch(const std::vector<BatchStore>& stores, const RunOptions& options) {
  RecoveryRun reporting(options);
  results_ = {};
  const bool quit = Guarded([&] {
    const BatchOutcome batch = RecoverStores(stores, options, *this);
    results_.runFolder = batch.runFolder;
    run_ = &reporting;
    ShowStorePlace(u"");
    ReportBatch(*this, batch);
    return batch.quit;
  }, reporting);
  run_ = &reporting;
  ShowStorePlace(u"");
  return quit || reporting.QuitRequested;
}

void frmMain::ShowUnexpectedFailure(const std::u16string& reason) {
  RestoreStatusBar();
  std::u16string text = Text(WindowText::UnexpectedFailure, language_);
  if (!reason.empty()) text += u"\r\n" + reason;
  ShowMessage(UiMessage{text, MessageIcon::Critical, MessageButtons::Ok, {}});
}

// The status bar as the window opens: the run's controls hidden, the message line empty, Start shown.
void frmMain::RestoreStatusBar() {
  SetBusyPointer(false);
  SetLabelCaption(ControlId::lblMessage, u"");
  for (const ControlDesign<ControlId>& design : MainWindowControls()) {
    if (design.container == ControlId::Picture1) {
      ShowWindow(Control(design.id), (design.style & WS_VISIBLE) != 0 ? SW_SHOWNA : SW_HIDE);
    }
  }
  EnsureFocus(FocusTarget());
}

// Exact emptiness only: a text of blanks counts as filled, and nothing is checked on disk.
void frmMain::UpdateStartEnabled() {
  const bool missingDbx = IsChecked(ControlId::optFolder) && GetText(Control(ControlId::txtDBXFile)).empty();
  const bool missingFolder = GetText(Control(ControlId::txtEMLFolder)).empty();
  EnableWindow(Control(ControlId::cmdStart), !(missingDbx || missingFolder));
}

// During a run the steps panel, the Browse buttons and the menu items are locked; the top-level menus
// stay usable.
void frmMain::SetInputsEnabledForRun(bool running) {
  for (const UINT item : {IDM_FILE_EXIT, IDM_HELP_HELP, IDM_HELP_ABOUT}) {
    EnableMenuItem(menu_, item, MF_BYCOMMAND | (running ? MF_GRAYED : MF_ENABLED));
  }
  for (const ControlId id : {ControlId::cmdFindDBX, ControlId::cmdFindEML, ControlId::picFrame}) {
    EnableWindow(Control(id), running ? FALSE : TRUE);
  }
  ShowWindow(Control(ControlId::cmdResults), running ? SW_HIDE : SW_SHOWNA);
  UpdateResultsEnabled();
}

void frmMain::UpdateResultsEnabled() {
  const bool usable = !IsRunning && !results_.rows.empty();
  EnableWindow(Control(ControlId::cmdResults), usable ? TRUE : FALSE);
  EnableMenuItem(menu_, IDM_FILE_RESULTS, MF_BYCOMMAND | (usable ? MF_ENABLED : MF_GRAYED));
}

// A path from outside the box arrives as if the user had typed it and then clicked the folder option.
void frmMain::UseDbxFile(const std::u16string& path) {
  SetTextRaisingChange(ControlId::txtDBXFile, path);
  SelectFolderOption();
}

void frmMain::SelectFolderOption() {
  SendMessageW(Control(ControlId::optDefault), BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageW(Control(ControlId::optFolder), BM_SETCHECK, BST_CHECKED, 0);
  optFolder_Click();
}

bool frmMain::IsChecked(ControlId id) const {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void frmMain::SetTextRaisingChange(ControlId id, const std::u16string& text) {
  const HWND box = Control(id);
  if (GetText(box) == text) return;
  SetText(box, text);
  ShowPathEnd(id);
}

void frmMain::ShowPathEnd(ControlId id) {
  const HWND box = Control(id);
  const auto end = static_cast<WPARAM>(GetWindowTextLengthW(box));
  SendMessageW(box, EM_SETSEL, end, static_cast<LPARAM>(end));
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

bool frmMain::AskYesNo(WindowText question) {
  return ShowMessage(UiMessage{Text(question, language_), MessageIcon::Question, MessageButtons::YesNo, {}}) ==
         MessageAnswer::Yes;
}

void frmMain::SetLabelCaption(ControlId id, const std::u16string& caption) {
  SetLabelText(Control(id), platform::win32::Wide(caption));
}
