// Palvenor.exe: the desktop program, where the windows, the DBX chooser and the engine meet.
#include <windows.h>

#include "chooser/DbxChooser.h"
#include "engine/RecoveryRun.h"
#include "shell/Startup.h"
#include "shell/StorePaths.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return Main([](const std::u16string& dbxPath, RecoveryRun& run, RecoveryUi& ui) { RecoverMails(dbxPath, run, ui); }, frmDBX::Show,
              CommandLinePaths(GetCommandLineW()));
}
