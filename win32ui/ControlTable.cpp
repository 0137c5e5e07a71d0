#include "win32ui/ControlTable.h"

#include <string_view>

#include "win32ui/Twips.h"
#include "win32ui/WindowText.h"

namespace {

bool IsSingleLineLabel(const wchar_t* className, DWORD style) {
  return std::wstring_view(className) == L"STATIC" && (style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP;
}

}  // namespace

void FitLabel(HWND label) {
  const std::u16string caption = GetText(label);
  const HDC dc = GetDC(label);
  const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
  RECT extent{};
  // An empty caption still has the height of a line.
  DrawTextW(dc, caption.empty() ? L" " : platform::win32::Wide(caption), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, previous);
  ReleaseDC(label, dc);
  SetWindowPos(label, nullptr, 0, 0, caption.empty() ? 0 : extent.right, extent.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(label, nullptr, TRUE);
}

void SetLabelText(HWND label, const wchar_t* text) {
  SetWindowTextW(label, text);
  FitLabel(label);
}

HWND CreateTableControl(HWND parent, int id, const wchar_t* className, const wchar_t* caption, DWORD style,
                        DWORD exStyle) {
  return CreateWindowExW(exStyle, className, caption, WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

void PlaceTableControl(HWND control, const wchar_t* className, DWORD style, RECT twips, HFONT font, UINT dpi) {
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowPos(control, nullptr, TwipsToPixels(twips.left, dpi), TwipsToPixels(twips.top, dpi),
               TwipsToPixels(twips.right - twips.left, dpi), TwipsToPixels(twips.bottom - twips.top, dpi),
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (IsSingleLineLabel(className, style)) FitLabel(control);
}
