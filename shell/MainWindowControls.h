#pragma once
// The main window's controls: identifiers, kinds, captions and design layout in twips.
#include <windows.h>

#include <span>

#include "win32ui/ControlTable.h"

// Control identifiers; cmdStart and cmdStop carry IDOK and IDCANCEL so that Enter and Esc reach them.
enum class ControlId : int {
  None = 0,
  cmdStart = IDOK,
  cmdStop = IDCANCEL,
  picHeader = 100,
  Label3,
  lblHeader,
  picFrame,
  Label2,
  optDefault,
  optFolder,
  txtDBXFile,
  cmdFindDBX,
  Label5,
  txtEMLFolder,
  cmdFindEML,
  Label4,
  Label7,
  chkPointer,
  chkFreed,
  Picture1,
  lblProc,
  prgStatus,
  lblPercent,
  lblStatus,
  lblMessage,
  lblRename,
  optAll,
  cmdResults,
};

// The panels that hold the other controls: the header band, the steps and the status bar.
inline constexpr wchar_t kPanelClass[] = L"PalvenorPanel";

// The window's fonts, as ControlDesign::font counts them.
enum MainWindowFont : int { kDefaultFont, kHeaderFont, kMainWindowFonts };

// In tab order; ControlId::None as container is the window itself.
std::span<const ControlDesign<ControlId>> MainWindowControls();

// The client area in twips.
inline constexpr int kMainWindowWidthTwips = 9390;
inline constexpr int kMainWindowHeightTwips = 5895;
