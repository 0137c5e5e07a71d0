#pragma once
// The main window's controls: identifiers, kinds, captions and design layout in twips.
#include <windows.h>

#include <span>

#include "shell/Twips.h"

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
  Picture1,
  lblProc,
  prgStatus,
  lblPercent,
  lblStatus,
  lblMessage,
  lblRename,
};

enum class ControlKind { Panel, Label, Option, Text, Button, Check, Progress };

struct ControlDesign {
  ControlId id;
  ControlId container;  // None: placed on the window itself
  ControlKind kind;
  const char16_t* caption;
  int left, top, width, height;  // twips, relative to the container
  bool visibleAtRest;
  bool startsGroup;  // first of a group of controls that arrow keys move between
};

// In tab order, which is also the order of creation (and so of the keyboard's travel).
std::span<const ControlDesign> MainWindowControls();

// The client area in twips.
inline constexpr int kMainWindowWidthTwips = 9390;
inline constexpr int kMainWindowHeightTwips = 5895;
