#pragma once
// The main window: three numbered steps, the Start and Stop buttons and the status bar the run drives.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "discovery/Identities.h"
#include "engine/RecoveryRun.h"
#include "engine/RecoveryUi.h"
#include "engine/StoreBatch.h"
#include "shell/HtmlHelp.h"
#include "shell/MainWindowControls.h"
#include "shell/results/ResultsWindow.h"
#include "win32ui/GdiObject.h"
#include "windowtexts/WindowTexts.h"

inline constexpr wchar_t kMainWindowClass[] = L"PalvenorMainWindow";
// Marks the WM_COPYDATA by which a second start hands its store paths (UTF-16, a NUL between two, no
// terminator) to the
// running window.
inline constexpr ULONG_PTR kStorePathData = 0x50414C56;

class frmMain final : public RecoveryUi, public BatchUi {
 public:
  // How the window runs a recovery; the program passes RecoverMails.
  using Recovery = std::function<void(const std::u16string& dbxPath, RecoveryRun& run, RecoveryUi& ui)>;
  // How the window asks for a DBX file among the users' stores, modally over owner and in the window's
  // language: the chosen path, or nothing when cancelled. The program passes the DBX chooser.
  using DbxFileChooser =
      std::function<std::optional<std::u16string>(HWND owner, const UserList& users, Language language)>;

  // Creates the window hidden, owned by the application window, with every text in the language, and
  // runs Form_Load, which shows the user list. closed runs once the window has closed.
  frmMain(HWND owner, UserList users, Language language, Recovery recover, DbxFileChooser chooseDbxFile,
          std::function<void()> closed = {});
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;
  ~frmMain() override;

  void Show();
  HWND Window() const { return window_; }
  HWND Control(ControlId id) const;
  bool Running() const { return IsRunning; }
  // The tooltip a control shows; empty when it has none.
  std::u16string TooltipText(ControlId id) const;

  // Stores named outside the window (dropped, or command-line paths): one existing file is taken as if
  // chosen in the chooser; several DBX files, or one folder, become the batch of exactly those stores.
  // Anything else is refused with a message.
  void OfferDbxFiles(const std::vector<std::u16string>& paths);

  // Tab, access keys, Enter and Esc for the window's controls; true when the message was used.
  bool TranslateDialogKeys(MSG& message);

  // What the run changes, through the engine's interface.
  Language TextLanguage() const override { return language_; }
  std::u16string OutputParentFolder() override;
  void SetVisible(StatusControl control, bool visible) override;
  void SetCaption(StatusControl control, const std::u16string& caption) override;
  void SetProgress(int value) override;
  void SetBusyPointer(bool busy) override;
  MessageAnswer ShowMessage(const UiMessage& message) override;
  void PumpEvents() override;
  void OpenFolder(const std::u16string& path) override;
  bool OffersResults() const override { return true; }

  // A batch's stores reach the window through these: the window itself, with the store's place in
  // front of the phase.
  RecoveryUi& Overall() override { return *this; }
  RecoveryUi& ForStore(RecoveryRun& run, const StorePlace& place) override;
  void StoreFinished(const RecoveryOutcome& outcome) override;

 private:
  // The window procedures only hand each event to its handler.
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PanelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void DispatchCommand(int id, int code);

  // Event handlers.
  void Form_Load();
  bool Form_QueryUnload();  // true cancels the close
  void Form_Unload();
  void Form_DropFiles(HDROP drop);
  bool Form_StorePathHanded(const COPYDATASTRUCT& data);
  void cmdStart_Click();
  void cmdStop_Click();
  void cmdFindDBX_Click();
  void cmdFindEML_Click();
  void optDefault_Click();
  void optFolder_Click();
  void optAll_Click();
  void txtDBXFile_Change();
  void txtEMLFolder_Change();
  void txtDBXFile_GotFocus();
  void txtDBXFile_LostFocus();
  void txtEMLFolder_GotFocus();
  void txtEMLFolder_LostFocus();
  void cmdResults_Click();
  void cmdResults_GotFocus();
  void cmdResults_LostFocus();
  void mnuFileResults_Click();
  void mnuFileExit_Click();
  void mnuHelpHelp_Click();
  void mnuHelpAbout_Click();

  // The run inside cmdStart_Click; a failure that escapes it is reported and the window brought to rest.
  // True when the window was closed during the run.
  bool Recover(const std::u16string& dbxPath, const RunOptions& options);
  bool RecoverBatch(const std::vector<BatchStore>& stores, const RunOptions& options);
  // survivor is the run a close reaches while the failure is shown, when the failed one is gone.
  bool Guarded(const std::function<bool()>& run, RecoveryRun& survivor);
  // The stores of a batch the user chose (all folders, dropped stores, a folder in the box); nothing
  // for a single store.
  std::optional<std::vector<BatchStore>> ChosenBatch() const;
  // The path of the identity's Inbox: 受信トレイ.dbx, or else Inbox.dbx; empty when it has neither.
  std::u16string DefaultStorePath() const;
  void UseDbxFiles(const std::vector<std::u16string>& paths);
  // The store's place before the phase captions; an empty place gives them back their own.
  void ShowStorePlace(const std::u16string& place);
  void ShowUnexpectedFailure(const std::u16string& reason);
  void UseDbxFile(const std::u16string& path);
  void SelectFolderOption();
  void RestoreStatusBar();
  void UpdateStartEnabled();
  // The Results button and menu item: usable when the last run listed a row and no run goes on.
  void UpdateResultsEnabled();
  void SetInputsEnabledForRun(bool running);
  bool IsChecked(ControlId id) const;
  // Sets a box's text; like typing, it raises the box's Change handler, but only when the text differs.
  void SetTextRaisingChange(ControlId id, const std::u16string& text);
  void SetLabelCaption(ControlId id, const std::u16string& caption);
  // Puts the caret at the end, so that a long path shows its file name rather than its drive.
  void ShowPathEnd(ControlId id);
  bool AskYesNo(WindowText question);

  // Window plumbing (frmMainWindow.cpp).
  void CreateControls();
  void CreateMenus();
  void CreateTooltips();
  void ApplyLayout(UINT dpi);
  void PlaceCentred();
  void PaintPanel(HWND panel, HDC dc);
  LRESULT ControlColours(HDC dc, HWND control);
  bool SetBusyCursor();
  bool CanTakeFocus(HWND control) const;
  HWND FocusTarget() const;
  void EnsureFocus(HWND preferred);
  // The dialog manager's focus moves (Tab, access keys of labels), which a plain window must make itself.
  void MoveFocus(WPARAM target, LPARAM byHandle);

  HWND window_ = nullptr;
  HMENU menu_ = nullptr;
  HWND tooltip_ = nullptr;
  std::vector<std::pair<ControlId, HWND>> controls_;
  GdiObject<HFONT> font_;
  GdiObject<HFONT> headerFont_;
  GdiObject<HBRUSH> whiteBrush_;
  GdiObject<HBRUSH> statusBrush_;
  const UserList users_;
  const Language language_;
  Recovery recover_;
  DbxFileChooser chooseDbxFile_;
  std::function<void()> closed_;
  HWND lastFocus_ = nullptr;
  bool busy_ = false;
  ULONGLONG lastPump_ = 0;
  HtmlHelpViewer help_;

  // Stores dropped together, and what the DBX box shows for them; forgotten once the box says otherwise.
  std::vector<std::u16string> droppedStores_;
  std::u16string droppedCaption_;

  bool IsRunning = false;
  RecoveryRun* run_ = nullptr;  // the run going on, while IsRunning
  bool HelpOpened = false;
  // The last run's list, for the results window.
  RunResults results_;
};
