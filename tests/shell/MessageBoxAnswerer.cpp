#include "MessageBoxAnswerer.h"

namespace {

// A hook procedure has no context of its own; one answerer per thread is enough for the tests.
thread_local MessageBoxAnswerer* activeAnswerer = nullptr;

// Control identifiers inside the system's message box.
constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 0x440;

std::wstring TextOf(HWND window) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(window, buffer, 1024);
  return buffer;
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<int> answers) : answers_(std::move(answers)) {
  activeAnswerer = this;
  hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  UnhookWindowsHookEx(hook_);
  activeAnswerer = nullptr;
}

LRESULT CALLBACK MessageBoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && activeAnswerer != nullptr) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (std::wstring(className) == L"#32770") activeAnswerer->Answer(window);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxAnswerer::Answer(HWND box) {
  ShownMessageBox shown;
  shown.caption = TextOf(box);
  shown.text = TextOf(GetDlgItem(box, kTextId));
  shown.yesNo = GetDlgItem(box, IDYES) != nullptr && GetDlgItem(box, IDNO) != nullptr;
  const HICON icon = reinterpret_cast<HICON>(SendDlgItemMessageW(box, kIconId, STM_GETICON, 0, 0));
  shown.questionIcon = icon != nullptr && icon == LoadIconW(nullptr, IDI_QUESTION);
  shown.criticalIcon = icon != nullptr && icon == LoadIconW(nullptr, IDI_HAND);
  const std::size_t index = shown_.size();
  shown_.push_back(shown);
  const int answer = index < answers_.size() ? answers_[index] : (shown.yesNo ? IDNO : IDOK);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
}
