// Tooltips of the main window's check boxes: what each does and when to use it.
#include <windows.h>
#include <commctrl.h>

#include "platform/win32/Wide.h"
#include "shell/MainWindow.h"

namespace {

struct Tip {
  ControlId control;
  WindowText text;
};

// One line per check box.
constexpr Tip kTips[] = {
    {ControlId::chkPointer, WindowText::PointerTip},
    {ControlId::chkFreed, WindowText::FreedTip},
};

constexpr int kTipWidthPixels = 400;
// Long enough to read two lines.
constexpr int kTipShownMilliseconds = 20000;

}  // namespace

// The tooltip window is owned by the main window and goes with it.
void frmMain::CreateTooltips() {
  const HWND tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
  if (tooltip == nullptr) return;
  SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, kTipWidthPixels);
  SendMessageW(tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, kTipShownMilliseconds);
  for (const Tip& tip : kTips) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(Control(tip.control));
    std::u16string text = Text(tip.text, language_);
    tool.lpszText = platform::win32::WideBuffer(text);
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  tooltip_ = tooltip;
}

std::u16string frmMain::TooltipText(ControlId id) const {
  std::u16string text(1024, u'\0');
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(Control(id));
  tool.lpszText = platform::win32::WideBuffer(text);
  SendMessageW(tooltip_, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
  text.resize(text.find(u'\0'));
  return text;
}
