// Creation, layout and painting of the About window, and its procedures.
#include <windows.h>

#include "shell/AboutWindow.h"
#include "shell/GradientBand.h"
#include "win32ui/ControlTable.h"
#include "win32ui/Fonts.h"
#include "win32ui/ModalDialog.h"
#include "win32ui/ProgramIcon.h"
#include "win32ui/Twips.h"

namespace {

constexpr wchar_t kBandClass[] = L"PalvenorAboutBand";
// Fixed dialog border, a close box, no minimise or maximise box; owned, so not in the task bar.
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr int kClientWidthTwips = 7665;
constexpr int kClientHeightTwips = 4695;
constexpr SIZE kBandTwips{7665, 735};
constexpr int kSeparatorTwips = 3840;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);

enum Font : int { kNormal, kMaker, kTitle, kDescription, kFonts };

using enum AboutControl;

constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | WS_VISIBLE;

// Earlier controls lie above later ones: the description box covers Picture1 and its labels.
// clang-format off
constexpr ControlDesign<AboutControl> kControls[] = {
    {picHeader, None, kBandClass, WindowText::None, WS_CLIPSIBLINGS | WS_VISIBLE, 0, 0, 0, kBandTwips.cx, kBandTwips.cy, kNormal},
    {Image1, picHeader, L"STATIC", WindowText::None, SS_ICON | SS_REALSIZECONTROL | WS_VISIBLE, 0, 240, 120, 480, 480, kNormal},
    {Label1, picHeader, L"STATIC", WindowText::Maker, kLabel, 0, 840, 120, 3360, 225, kMaker},
    {Label8, picHeader, L"STATIC", WindowText::ProductName, kLabel, 0, 960, 420, 3930, 240, kTitle},
    {lblCopyRight, None, L"STATIC", WindowText::None, kLabel, 0, 300, 960, 6945, 225, kNormal},
    {lblTitle, None, L"STATIC", WindowText::None, kLabel, 0, 270, 1320, 6945, 240, kNormal},
    {txtDescription, None, L"EDIT", WindowText::None,
     ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP | WS_CLIPSIBLINGS | WS_VISIBLE, WS_EX_CLIENTEDGE,
     240, 1560, 7095, 2115, kDescription},
    {Picture1, None, L"STATIC", WindowText::None, WS_CLIPSIBLINGS | WS_VISIBLE, 0, 240, 1740, 7035, 1935, kNormal},
    {lblVersion, Picture1, L"STATIC", WindowText::None, kLabel, 0, 0, 120, 6945, 225, kNormal},
    {lblDescription, Picture1, L"STATIC", WindowText::ApplicationInformation, SS_LEFT | WS_VISIBLE, 0, 0, 330, 6945, 1605, kNormal},
    {lblDisclaimer, None, L"STATIC", WindowText::None, SS_LEFT | WS_VISIBLE, 0, 180, 3960, 5775, 585, kNormal},
    {cmdOK, None, L"BUTTON", WindowText::Ok, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0, 6180, 4020, 1305, 345, kNormal},
};
// clang-format on

void RegisterBandClass(WNDPROC procedure) {
  WNDCLASSEXW bandClass{};
  bandClass.cbSize = sizeof bandClass;
  bandClass.lpfnWndProc = procedure;
  bandClass.hInstance = GetModuleHandleW(nullptr);
  bandClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  bandClass.lpszClassName = kBandClass;
  RegisterClassExW(&bandClass);  // fails harmlessly when an earlier showing registered it
}

}  // namespace

void frmAbout::Show(HWND owner, Language language) {
  RegisterBandClass(BandProcedure);
  frmAbout form(language);
  ShowModalDialog(owner, kDialogStyle, FormDialogProcedure<frmAbout>, reinterpret_cast<LPARAM>(&form));
}

HWND frmAbout::Control(AboutControl id) const {
  // Controls inside the band and inside Picture1 are not the dialog's own children.
  for (const AboutControl container : {None, picHeader, Picture1}) {
    const HWND parent = container == None ? dialog_ : GetDlgItem(dialog_, static_cast<int>(container));
    const HWND control = GetDlgItem(parent, static_cast<int>(id));
    if (control != nullptr) return control;
  }
  return nullptr;
}

void frmAbout::CreateControls() {
  const UINT dpi = GetDpiForWindow(dialog_);
  font_ = MakeFont(L"MS UI Gothic", 9, dpi);
  makerFont_ = MakeFont(L"Arial", 9, dpi);
  titleFont_ = MakeFont(L"MS UI Gothic", 12, dpi, FW_BOLD);
  descriptionFont_ = MakeFont(L"MS UI Gothic", 8.25, dpi);
  const HFONT fonts[kFonts] = {font_.get(), makerFont_.get(), titleFont_.get(), descriptionFont_.get()};
  for (const ControlDesign<AboutControl>& design : kControls) {
    const HWND parent = design.container == None ? dialog_ : Control(design.container);
    PlaceControl(CreateControl(parent, design, language_), design, fonts, dpi);
  }
  const HWND band = Control(AboutControl::picHeader);
  SetWindowLongPtrW(band, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  const auto icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PALVENOR), IMAGE_ICON,
                               TwipsToPixels(480, dpi), TwipsToPixels(480, dpi), LR_SHARED);
  SendMessageW(Control(AboutControl::Image1), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  whiteLineY_ = TwipsToPixels(kSeparatorTwips, dpi);
  PlaceOverOwner(dialog_, kClientWidthTwips, kClientHeightTwips);
}

// White line of two pixels, the grey line over its lower half: together an etched rule.
void frmAbout::PaintSeparator(HDC dc) const {
  const GdiObject<HBRUSH> white(CreateSolidBrush(kWhite));
  const GdiObject<HBRUSH> grey(CreateSolidBrush(kGrey));
  const RECT whiteLine{0, whiteLineY_, lineLength_, whiteLineY_ + 2};
  const RECT greyLine{0, greyLineY_, lineLength_, greyLineY_ + 1};
  FillRect(dc, &whiteLine, white.get());
  FillRect(dc, &greyLine, grey.get());
}

LRESULT frmAbout::ControlColours(HDC dc, HWND control) const {
  if (GetParent(control) == Control(AboutControl::picHeader)) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kWhite);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

INT_PTR frmAbout::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CreateControls();
      Form_Load();
      SetFocus(Control(AboutControl::cmdOK));
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) cmdOK_Click();
      return TRUE;
    case WM_CLOSE:
      cmdOK_Click();
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return static_cast<INT_PTR>(ControlColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(dialog_, &paint);
      PaintSeparator(dc);
      EndPaint(dialog_, &paint);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

// The header band: the gradient as background, its labels drawn over it without background.
LRESULT CALLBACK frmAbout::BandProcedure(HWND band, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* form = reinterpret_cast<const frmAbout*>(GetWindowLongPtrW(band, GWLP_USERDATA));
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(band, &client);
      PaintGradientBand(reinterpret_cast<HDC>(wParam), client, kBandTwips, GetDpiForWindow(band), kBandLeft,
                        kBandRight, GRADIENT_FILL_RECT_H);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      if (form != nullptr) return form->ControlColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      break;
    default:
      break;
  }
  return DefWindowProcW(band, message, wParam, lParam);
}
