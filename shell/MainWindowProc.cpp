// Creation, layout and painting of the main window.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <stdexcept>
#include <string_view>

#include "shell/ProgramVersion.h"
#include "shell/GradientBand.h"
#include "shell/MainWindow.h"
#include "platform/win32/Wide.h"
#include "shell/resource.h"
#include "win32ui/Fonts.h"
#include "win32ui/Twips.h"

namespace {

// Fixed single border with a minimise button and no maximise button.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// The owner is the hidden application window, so the task bar button has to be asked for.
constexpr DWORD kWindowExStyle = WS_EX_APPWINDOW;

constexpr COLORREF kStatusBarColour = RGB(224, 224, 224);
constexpr COLORREF kMakerColour = RGB(192, 255, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

}  // namespace

frmMain::frmMain(HWND owner, UserList users, Language language, Recovery recover, DbxFileChooser chooseDbxFile,
                 std::function<void()> closed)
    : whiteBrush_(CreateSolidBrush(kWhite)),
      statusBrush_(CreateSolidBrush(kStatusBarColour)),
      users_(std::move(users)),
      language_(language),
      recover_(std::move(recover)),
      chooseDbxFile_(std::move(chooseDbxFile)),
      closed_(std::move(closed)) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = Instance();
  windowClass.hIcon = LoadIconW(Instance(), MAKEINTRESOURCEW(IDI_PALVENOR));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassExW(&windowClass);  // fails harmlessly when a previous window registered it

  WNDCLASSEXW panelClass{};
  panelClass.cbSize = sizeof panelClass;
  panelClass.lpfnWndProc = PanelProcedure;
  panelClass.hInstance = Instance();
  panelClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  panelClass.lpszClassName = kPanelClass;
  RegisterClassExW(&panelClass);

  const INITCOMMONCONTROLSEX commonControls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&commonControls);

  CreateMenus();
  CreateWindowExW(kWindowExStyle, kMainWindowClass, kApplicationTitle, kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, owner, menu_, Instance(), this);
  if (window_ == nullptr) {
    if (menu_ != nullptr) DestroyMenu(menu_);
    throw std::runtime_error("the main window could not be created");
  }
  CreateControls();
  CreateTooltips();
  DragAcceptFiles(window_, TRUE);
  ApplyLayout(GetDpiForWindow(window_));
  PlaceCentred();
  Form_Load();
}

frmMain::~frmMain() {
  if (window_ != nullptr) {
    closed_ = nullptr;
    DestroyWindow(window_);
  }
}

void frmMain::Show() {
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
}

HWND frmMain::Control(ControlId id) const {
  for (const auto& [controlId, control] : controls_) {
    if (controlId == id) return control;
  }
  return nullptr;
}

bool frmMain::TranslateDialogKeys(MSG& message) {
  return window_ != nullptr && IsDialogMessageW(window_, &message) != FALSE;
}

// The menu bar is made here rather than from a resource, so that its captions come from the texts table.
void frmMain::CreateMenus() {
  const auto caption = [this](WindowText text) { return Text(text, language_); };
  const HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING | MF_GRAYED, IDM_FILE_RESULTS, platform::win32::Wide(caption(WindowText::MenuResults)));
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, IDM_FILE_EXIT, platform::win32::Wide(caption(WindowText::MenuExit)));
  const HMENU help = CreatePopupMenu();
  AppendMenuW(help, MF_STRING, IDM_HELP_HELP, platform::win32::Wide(caption(WindowText::MenuHelpTopics)));
  AppendMenuW(help, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(help, MF_STRING, IDM_HELP_ABOUT, platform::win32::Wide(caption(WindowText::MenuAbout)));
  menu_ = CreateMenu();
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(file), platform::win32::Wide(caption(WindowText::MenuFile)));
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(help), platform::win32::Wide(caption(WindowText::MenuHelp)));
}

void frmMain::CreateControls() {
  for (const ControlDesign<ControlId>& design : MainWindowControls()) {
    const HWND parent = design.container == ControlId::None ? window_ : Control(design.container);
    const HWND control = CreateControl(parent, design, language_);
    if (std::wstring_view(design.className) == kPanelClass) SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (design.id == ControlId::prgStatus) SendMessageW(control, PBM_SETRANGE32, 0, 100);
    controls_.emplace_back(design.id, control);
  }
  SendMessageW(Control(ControlId::optDefault), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(Control(ControlId::chkFreed), BM_SETCHECK, BST_CHECKED, 0);
}

void frmMain::ApplyLayout(UINT dpi) {
  GdiObject<HFONT> font = MakeFont(L"MS UI Gothic", 9, dpi);
  GdiObject<HFONT> headerFont = MakeFont(L"Arial", 9, dpi);
  const HFONT fonts[kMainWindowFonts] = {font.get(), headerFont.get()};
  for (const ControlDesign<ControlId>& design : MainWindowControls()) PlaceControl(Control(design.id), design, fonts, dpi);
  font_ = std::move(font);
  headerFont_ = std::move(headerFont);

  RECT frame{0, 0, TwipsToPixels(kMainWindowWidthTwips, dpi), TwipsToPixels(kMainWindowHeightTwips, dpi)};
  AdjustWindowRectExForDpi(&frame, kWindowStyle, TRUE, kWindowExStyle, dpi);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window_, nullptr, TRUE);
}

void frmMain::PlaceCentred() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  RECT frame{};
  GetWindowRect(window_, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const RECT& screen = monitor.rcWork;
  SetWindowPos(window_, nullptr, screen.left + (screen.right - screen.left - width) / 2,
               screen.top + (screen.bottom - screen.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMain::PaintPanel(HWND panel, HDC dc) {
  RECT area{};
  GetClientRect(panel, &area);
  if (panel == Control(ControlId::picHeader)) {
    const ControlDesign<ControlId>& band = MainWindowControls()[0];
    PaintGradientBand(dc, area, SIZE{band.width, band.height}, GetDpiForWindow(window_), kBandLeft, kBandRight,
                      GRADIENT_FILL_RECT_H);
  } else {
    FillRect(dc, &area, panel == Control(ControlId::Picture1) ? statusBrush_.get() : whiteBrush_.get());
  }
}

// Labels on the band are drawn without background over the gradient; everything else takes the
// colour of its panel.
LRESULT frmMain::ControlColours(HDC dc, HWND control) {
  const HWND panel = GetParent(control);
  if (panel == Control(ControlId::picHeader)) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, control == Control(ControlId::Label3) ? kMakerColour : kWhite);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
  if (panel == Control(ControlId::Picture1)) {
    SetBkColor(dc, kStatusBarColour);
    return reinterpret_cast<LRESULT>(statusBrush_.get());
  }
  SetBkColor(dc, kWhite);
  return reinterpret_cast<LRESULT>(whiteBrush_.get());
}

bool frmMain::SetBusyCursor() {
  if (!busy_) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

bool frmMain::CanTakeFocus(HWND control) const {
  if (control == nullptr || !IsChild(window_, control)) return false;
  for (HWND window = control; window != window_; window = GetParent(window)) {
    if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return false;
  }
  return true;
}

// The keyboard focus always rests on a control that can take it, so Tab, Enter and Esc keep working
// when the run hides the focused button or locks the steps panel.
void frmMain::EnsureFocus(HWND preferred) {
  if (GetActiveWindow() != window_ || CanTakeFocus(GetFocus())) return;
  if (CanTakeFocus(preferred)) SetFocus(preferred);
}

HWND frmMain::FocusTarget() const {
  if (CanTakeFocus(lastFocus_)) return lastFocus_;
  for (const ControlId id : {ControlId::optDefault, ControlId::cmdStart, ControlId::cmdStop}) {
    if (CanTakeFocus(Control(id))) return Control(id);
  }
  return nullptr;
}

void frmMain::MoveFocus(WPARAM target, LPARAM byHandle) {
  const HWND next = LOWORD(byHandle) != 0 ? reinterpret_cast<HWND>(target)
                                          : GetNextDlgTabItem(window_, GetFocus(), target != 0 ? TRUE : FALSE);
  if (next != nullptr) SetFocus(next);
}
