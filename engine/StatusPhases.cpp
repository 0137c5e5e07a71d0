#include "engine/StatusPhases.h"

#include <cmath>

#include "engine/Texts.h"
#include "engine/naming/DecimalText.h"

void ShowExtractionPhase(RecoveryUi& ui) {
  ui.SetVisible(StatusControl::lblMessage, false);
  ui.SetVisible(StatusControl::lblProc, true);
  ui.SetVisible(StatusControl::lblRename, false);
  ui.SetVisible(StatusControl::prgStatus, true);
  ui.SetVisible(StatusControl::lblPercent, true);
  ui.SetVisible(StatusControl::lblStatus, true);
  ui.SetVisible(StatusControl::cmdStart, false);
  ui.SetVisible(StatusControl::cmdStop, true);
  ShowPercent(ui, 0);
  ui.SetCaption(StatusControl::lblStatus, Text(TextId::ExtractedCount, ui.TextLanguage(), {u"0"}));
}

void ShowDuplicateRemovalPhase(RecoveryUi& ui) {
  ui.SetVisible(StatusControl::lblMessage, true);
  ui.SetVisible(StatusControl::lblProc, false);
  ui.SetVisible(StatusControl::prgStatus, false);
  ui.SetVisible(StatusControl::lblPercent, false);
  ui.SetVisible(StatusControl::lblStatus, false);
  ui.SetCaption(StatusControl::lblMessage, Text(TextId::RemovingDuplicates, ui.TextLanguage()));
}

void ShowRenamingPhase(RecoveryUi& ui) {
  ShowPercent(ui, 0);
  ui.SetCaption(StatusControl::lblMessage, u"");
  ui.SetCaption(StatusControl::lblStatus, u"");
  ui.SetVisible(StatusControl::lblMessage, false);
  ui.SetVisible(StatusControl::lblRename, true);
  ui.SetVisible(StatusControl::prgStatus, true);
  ui.SetVisible(StatusControl::lblPercent, true);
  ui.SetVisible(StatusControl::lblStatus, true);
}

void ShowEndPhase(RecoveryUi& ui) {
  ui.SetVisible(StatusControl::lblMessage, true);
  ui.SetVisible(StatusControl::lblRename, false);
  ui.SetVisible(StatusControl::prgStatus, false);
  ui.SetVisible(StatusControl::lblPercent, false);
  ui.SetVisible(StatusControl::lblStatus, false);
  ui.SetVisible(StatusControl::cmdStart, true);
  ui.SetVisible(StatusControl::cmdStop, false);
  ui.SetBusyPointer(false);
}

int RoundPercent(double part, double whole) { return static_cast<int>(std::nearbyint(part / whole * 100.0)); }

void ShowPercent(RecoveryUi& ui, int percent) {
  ui.SetProgress(percent);
  ui.SetCaption(StatusControl::lblPercent, DecimalText(percent) + u"%");
}
