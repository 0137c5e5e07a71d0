// Palvenor.exe: the desktop program, where the windows, the DBX chooser and the engine meet.
#include <windows.h>

#include "chooser/frmDBX.h"
#include "engine/modDBXFile.h"
#include "shell/StorePaths.h"
#include "shell/modMainStartup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return Main([](const std::u16string& dbxPath, RecoveryUi& ui) { RecoverMails(dbxPath, ui); }, frmDBX::Show,
              CommandLinePaths(GetCommandLineW()));
}
