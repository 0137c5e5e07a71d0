#include "ModalScript.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

thread_local std::vector<ModalScript*> activeScripts;

struct Search {
  std::function<bool(HWND)> matches;
  HWND found = nullptr;
};

HWND FindThreadWindow(std::function<bool(HWND)> matches) {
  Search search{std::move(matches)};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM context) {
        auto* s = reinterpret_cast<Search*>(context);
        if (!IsWindowVisible(window) || !s->matches(window)) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

}  // namespace

ModalScript::ModalScript(std::function<HWND()> find, std::function<void(HWND)> script)
    : find_(std::move(find)), script_(std::move(script)) {
  activeScripts.push_back(this);
  timer_ = SetTimer(nullptr, 0, 20, Tick);
}

ModalScript::~ModalScript() {
  if (timer_ != 0) KillTimer(nullptr, timer_);
  std::erase(activeScripts, this);
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR timer, DWORD) {
  for (ModalScript* script : activeScripts) {
    if (script->timer_ != timer) continue;
    const HWND window = script->find_();
    if (window == nullptr) return;
    KillTimer(nullptr, timer);
    script->timer_ = 0;
    script->ran_ = true;
    script->script_(window);
    if (IsWindow(window) && IsWindowVisible(window)) {
      ADD_FAILURE() << "the script left its window open";
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return;
  }
}

void PumpDialog(HWND dialog, DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (IsWindow(dialog) && IsDialogMessageW(dialog, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(5);
  } while (GetTickCount64() < end);
}

HWND ThreadWindow(const std::wstring& caption, const std::wstring& className) {
  return FindThreadWindow([&](HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return caption == text && (className.empty() || ClassOf(window) == className);
  });
}

HWND DialogOwnedBy(HWND owner) {
  return FindThreadWindow(
      [&](HWND window) { return GetWindow(window, GW_OWNER) == owner && ClassOf(window) == L"#32770"; });
}
