#pragma once
// Runs a test script inside the modal loop of a window this thread is about to open (a dialog shown
// by a click blocks the click until it closes): the script gets the window once it is shown.
#include <windows.h>

#include <functional>
#include <string>

class ModalScript {
 public:
  // find returns the window when it is there (or null); the script must close it. A window still open
  // after the script is closed for it, and the test fails.
  ModalScript(std::function<HWND()> find, std::function<void(HWND)> script);
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;
  ~ModalScript();

  bool Ran() const { return ran_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD);

  std::function<HWND()> find_;
  std::function<void(HWND)> script_;
  UINT_PTR timer_ = 0;
  bool ran_ = false;
};

// Handles pending messages for about the given time as the dialog's own loop does (keys become
// its commands); a script runs inside that loop, so it has to do this itself.
void PumpDialog(HWND dialog, DWORD milliseconds = 100);

// A shown top-level window of this thread with that caption (and class, when given).
HWND ThreadWindow(const std::wstring& caption, const std::wstring& className = L"");
// A shown dialog of this thread owned by owner.
HWND DialogOwnedBy(HWND owner);
