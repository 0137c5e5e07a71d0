#include "shell/MainWindow.h"

#include <exception>
#include <optional>

#include "discovery/Identities.h"
#include "engine/RecoveryRun.h"
#include "platform/Utf.h"
#include "platform/win32/Wide.h"
#include "shell/AboutWindow.h"
#include "shell/BrowseForFolder.h"
#include "shell/StorePaths.h"
#include "shell/resource.h"
#include "win32ui/ControlTable.h"
#include "win32ui/WindowText.h"

namespace {

constexpr char16_t kInboxFile[] = u"\\受信トレイ.dbx";

}  // namespace

// Without an identity (as on systems that never had the mail client) there is no Inbox to offer: the
// store has to be named in the box.
void frmMain::Form_Load() {
  const auto current = static_cast<std::size_t>(users_.CurrentUserIndex);
  const std::u16string& userName = users_.UserNames[current];
  const std::u16string owner = userName.empty() ? u"" : Text(WindowText::InboxOwner, language_, {WithPlainAmpersands(userName)});
  SetText(Control(ControlId::optDefault), owner + Text(WindowText::Inbox, language_));
  if (users_.StoreFolders[current].empty()) {
    EnableWindow(Control(ControlId::optDefault), FALSE);
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

// The second start has checked the path already; it waits for the answer, so nothing here may ask.
bool frmMain::Form_StorePathHanded(const COPYDATASTRUCT& data) {
  if (data.dwData != kStorePathData || IsRunning || !IsWindowEnabled(window_)) return false;
  UseDbxFile(std::u16string(static_cast<const char16_t*>(data.lpData), data.cbData / sizeof(char16_t)));
  return true;
}

void frmMain::OfferDbxFiles(const std::vector<std::u16string>& paths) {
  if (const std::optional<std::u16string> refusal = StorePathRefusal(paths, language_)) {
    ShowMessage(UiMessage{*refusal, MessageIcon::Exclamation, MessageButtons::Ok, {}});
    return;
  }
  UseDbxFile(paths.front());
}

void frmMain::cmdStart_Click() {
  IsRunning = true;
  SetInputsEnabledForRun(true);
  RecoveryRun run(RunOptions{IsChecked(ControlId::chkPointer), IsChecked(ControlId::chkFreed)});
  run_ = &run;
  const std::u16string dbxPath = IsChecked(ControlId::optDefault)
                                     ? users_.StoreFolderAt(users_.CurrentUserIndex) + kInboxFile
                                     : GetText(Control(ControlId::txtDBXFile));
  Recover(dbxPath, run);
  run_ = nullptr;
  IsRunning = false;
  SetInputsEnabledForRun(false);
  if (run.QuitRequested) SendMessageW(window_, WM_CLOSE, 0, 0);
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
void frmMain::txtDBXFile_Change() { UpdateStartEnabled(); }
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

void frmMain::mnuFileExit_Click() { SendMessageW(window_, WM_CLOSE, 0, 0); }

// A missing help file is left to the help system to show (or not).
void frmMain::mnuHelpHelp_Click() {
  help_.DisplayTopic(window_, HelpFilePath(ProgramFolder(), language_));
  HelpOpened = true;
}

void frmMain::mnuHelpAbout_Click() { frmAbout::Show(window_, language_); }

// This handler was called by the window manager, which an exception must not unwind through. What the
// run wrote so far stays on disk; the user learns what failed, and the window is ready for another run.
void frmMain::Recover(const std::u16string& dbxPath, RecoveryRun& run) {
  try {
    recover_(dbxPath, run, *this);
  } catch (const std::exception& failure) {
    ShowUnexpectedFailure(platform::FromUtf8(failure.what()));
  } catch (...) {
    ShowUnexpectedFailure(u"");
  }
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
