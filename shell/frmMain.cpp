#include "shell/frmMain.h"

#include "engine/modDBXFile.h"
#include "shell/ApplicationTitle.h"
#include "shell/BrowseForFolder.h"
#include "shell/WindowText.h"
#include "shell/frmAbout.h"
#include "shell/modMain.h"
#include "shell/resource.h"

namespace {

constexpr char16_t kInboxFile[] = u"\\受信トレイ.dbx";

bool AskYesNo(HWND owner, const wchar_t* question) {
  return MessageBoxW(owner, question, kApplicationTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace

void frmMain::Form_Load() {
  SetText(Control(ControlId::optDefault), UserNames[static_cast<std::size_t>(CurrentUserIndex)] + u"の受信トレイ(&R)");
  SetTextRaisingChange(ControlId::txtEMLFolder, DocumentsFolder);
  SetLabelCaption(ControlId::lblMessage, u"");
}

bool frmMain::Form_QueryUnload() {
  if (!IsRunning) return false;
  if (AskYesNo(window_, L"終了しますか?")) {
    StopRequested = true;
    QuitRequested = true;
  }
  // The run winds up first; cmdStart_Click closes the window when it returns.
  return true;
}

void frmMain::Form_Unload() {
  if (HelpOpened) help_.CloseAll(window_);
  if (closed_) closed_();
}

void frmMain::cmdStart_Click() {
  IsRunning = true;
  SetInputsEnabledForRun(true);
  SkipPointerCheck = IsChecked(ControlId::chkPointer);
  const std::u16string dbxPath = IsChecked(ControlId::optDefault)
                                     ? StoreFolders[static_cast<std::size_t>(CurrentUserIndex)] + kInboxFile
                                     : GetText(Control(ControlId::txtDBXFile));
  recover_(dbxPath, *this);
  IsRunning = false;
  SetInputsEnabledForRun(false);
  if (QuitRequested) SendMessageW(window_, WM_CLOSE, 0, 0);
}

void frmMain::cmdStop_Click() {
  if (AskYesNo(window_, L"停止しますか?")) StopRequested = true;
}

void frmMain::cmdFindDBX_Click() { frmDBX::Show(window_, *this); }

void frmMain::cmdFindEML_Click() {
  const std::u16string folder = BrowseForFolder(window_);
  if (!folder.empty()) SetTextRaisingChange(ControlId::txtEMLFolder, folder);
}

void frmMain::optDefault_Click() { UpdateStartEnabled(); }
void frmMain::optFolder_Click() { UpdateStartEnabled(); }
void frmMain::txtDBXFile_Change() { UpdateStartEnabled(); }
void frmMain::txtEMLFolder_Change() { UpdateStartEnabled(); }

void frmMain::txtDBXFile_GotFocus() { SetLabelCaption(ControlId::lblMessage, u"DBXファイルを指定します。"); }
void frmMain::txtDBXFile_LostFocus() { SetLabelCaption(ControlId::lblMessage, u""); }
void frmMain::txtEMLFolder_GotFocus() { SetLabelCaption(ControlId::lblMessage, u"EMLファイルの出力先を指定します。"); }
void frmMain::txtEMLFolder_LostFocus() { SetLabelCaption(ControlId::lblMessage, u""); }

void frmMain::mnuFileExit_Click() { SendMessageW(window_, WM_CLOSE, 0, 0); }

// A missing help file is left to the help system to show (or not).
void frmMain::mnuHelpHelp_Click() {
  help_.DisplayTopic(window_, HelpFilePath(ProgramFolder()));
  HelpOpened = true;
}

void frmMain::mnuHelpAbout_Click() { frmAbout::Show(window_); }

void frmMain::SetDbxFileText(const std::u16string& path) { SetTextRaisingChange(ControlId::txtDBXFile, path); }

void frmMain::SelectFolderOption() {
  SendMessageW(Control(ControlId::optDefault), BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageW(Control(ControlId::optFolder), BM_SETCHECK, BST_CHECKED, 0);
  optFolder_Click();
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

bool frmMain::IsChecked(ControlId id) const {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void frmMain::SetTextRaisingChange(ControlId id, const std::u16string& text) {
  const HWND box = Control(id);
  if (GetText(box) != text) SetText(box, text);
}

void frmMain::SetLabelCaption(ControlId id, const std::u16string& caption) {
  const HWND label = Control(id);
  SetText(label, caption);
  FitLabel(label);
}
