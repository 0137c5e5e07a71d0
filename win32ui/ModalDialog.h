#pragma once
// Modal dialogs whose controls are created by their own procedure, and their place over the owner.
#include <windows.h>

#include <vector>

#include "win32ui/Twips.h"

// Shows an empty modal dialog over owner and returns when it has ended. The procedure gets parameter
// with WM_INITDIALOG and creates the controls itself.
inline INT_PTR ShowModalDialog(HWND owner, DWORD style, DLGPROC procedure, LPARAM parameter) {
  // DLGTEMPLATE, then empty menu, class and title arrays; WORD storage is aligned enough for it.
  std::vector<WORD> storage((sizeof(DLGTEMPLATE) + 1) / sizeof(WORD) + 3, 0);
  auto* dialogTemplate = reinterpret_cast<DLGTEMPLATE*>(storage.data());
  dialogTemplate->style = style;
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate, owner, procedure, parameter);
}

// The procedure of a modal dialog run by a form object, which ShowModalDialog passes as its parameter:
// the form learns its window at WM_INITDIALOG and from then on gets every message in its Dispatch.
template <class Form>
INT_PTR CALLBACK FormDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    reinterpret_cast<Form*>(lParam)->dialog_ = dialog;
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(dialog, DWLP_USER));
  return form == nullptr ? FALSE : form->Dispatch(message, wParam, lParam);
}

// Gives the dialog a client area of the design size and centres it over its owner.
inline void PlaceOverOwner(HWND dialog, int widthTwips, int heightTwips) {
  const UINT dpi = GetDpiForWindow(dialog);
  RECT frame{0, 0, TwipsToPixels(widthTwips, dpi), TwipsToPixels(heightTwips, dpi)};
  AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)), dpi);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT over{};
  const HWND owner = GetWindow(dialog, GW_OWNER);
  if (owner == nullptr || !IsWindowVisible(owner)) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
  } else {
    GetWindowRect(owner, &over);
  }
  SetWindowPos(dialog, nullptr, over.left + (over.right - over.left - width) / 2,
               over.top + (over.bottom - over.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}
