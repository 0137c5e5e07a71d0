#pragma once
// The status-bar changes a recovery run makes when it enters each phase, in the run's own order, so
// that a front end can be tested before and apart from a real run.
#include <string>

#include "engine/RecoveryUi.h"

namespace clitest {

inline void EnterExtraction(RecoveryUi& ui) {
  ui.SetVisible(StatusControl::lblMessage, false);
  ui.SetVisible(StatusControl::lblProc, true);
  ui.SetVisible(StatusControl::lblRename, false);
  ui.SetVisible(StatusControl::prgStatus, true);
  ui.SetVisible(StatusControl::lblPercent, true);
  ui.SetVisible(StatusControl::lblStatus, true);
  ui.SetVisible(StatusControl::cmdStart, false);
  ui.SetVisible(StatusControl::cmdStop, true);
  ui.SetProgress(0);
  ui.SetCaption(StatusControl::lblPercent, u"0%");
  ui.SetCaption(StatusControl::lblStatus, u"0通のメールを抽出");
  ui.SetBusyPointer(true);
}

inline void EnterDuplicateRemoval(RecoveryUi& ui) {
  ui.SetVisible(StatusControl::lblMessage, true);
  ui.SetVisible(StatusControl::lblProc, false);
  ui.SetVisible(StatusControl::prgStatus, false);
  ui.SetVisible(StatusControl::lblPercent, false);
  ui.SetVisible(StatusControl::lblStatus, false);
  ui.SetCaption(StatusControl::lblMessage, u"重複データを削除しています。");
}

inline void EnterRenaming(RecoveryUi& ui) {
  ui.SetProgress(0);
  ui.SetCaption(StatusControl::lblPercent, u"0%");
  ui.SetCaption(StatusControl::lblMessage, u"");
  ui.SetCaption(StatusControl::lblStatus, u"");
  ui.SetVisible(StatusControl::lblMessage, false);
  ui.SetVisible(StatusControl::lblRename, true);
  ui.SetVisible(StatusControl::prgStatus, true);
  ui.SetVisible(StatusControl::lblPercent, true);
  ui.SetVisible(StatusControl::lblStatus, true);
}

inline void EnterEnd(RecoveryUi& ui) {
  ui.SetVisible(StatusControl::lblMessage, true);
  ui.SetVisible(StatusControl::lblRename, false);
  ui.SetVisible(StatusControl::prgStatus, false);
  ui.SetVisible(StatusControl::lblPercent, false);
  ui.SetVisible(StatusControl::lblStatus, false);
  ui.SetVisible(StatusControl::cmdStart, true);
  ui.SetVisible(StatusControl::cmdStop, false);
  ui.SetBusyPointer(false);
}

inline void SetPercentAndCount(RecoveryUi& ui, int percent, const std::u16string& count) {
  ui.SetProgress(percent);
  std::u16string text;
  for (const char c : std::to_string(percent)) text += static_cast<char16_t>(c);
  ui.SetCaption(StatusControl::lblPercent, text + u"%");
  ui.SetCaption(StatusControl::lblStatus, count);
}

}  // namespace clitest
