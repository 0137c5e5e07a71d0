// Palvenor.exe: the desktop program.
#include <windows.h>

#include "engine/modDBXFile.h"
#include "shell/modMainStartup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return Main([](const std::u16string& dbxPath, RecoveryUi& ui) { RecoverMails(dbxPath, ui); });
}
