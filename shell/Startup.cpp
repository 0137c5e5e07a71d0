#include "shell/Startup.h"

#include <objbase.h>

#include <exception>
#include <optional>

#include "discovery/Identities.h"
#include "platform/UserLanguage.h"
#include "platform/win32/Wide.h"
#include "shell/ProgramVersion.h"
#include "shell/StorePaths.h"

namespace {

// Local\ keeps it to the user's own session.
constexpr wchar_t kInstanceMutexName[] = L"Local\\Tessaly.Palvenor.Instance";

// COM for the folder browser, for as long as the windows live.
class ComApartment {
 public:
  ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (initialised_) CoUninitialize();
  }

 private:
  bool initialised_;
};

int RunMessageLoop(frmMain& form) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!form.TranslateDialogKeys(message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return 0;
}

// A refused path is reported here, by the start that was given it; the running window only takes a
// good one, while it is at rest.
void HandStorePaths(const std::vector<std::u16string>& storePaths, Language language) {
  if (const std::optional<std::u16string> refusal = StorePathRefusal(storePaths, language)) {
    MessageBoxW(nullptr, platform::win32::Wide(*refusal), kApplicationTitle, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  const std::u16string path = JoinStorePaths(storePaths);
  COPYDATASTRUCT data{kStorePathData, static_cast<DWORD>(path.size() * sizeof(char16_t)),
                      const_cast<char16_t*>(path.data())};
  SendMessageW(FindWindowW(kMainWindowClass, kApplicationTitle), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

}  // namespace

InstanceMutex::InstanceMutex() : mutex_(CreateMutexW(nullptr, FALSE, kInstanceMutexName)) {
  previous_ = mutex_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

InstanceMutex::~InstanceMutex() {
  if (mutex_ != nullptr) CloseHandle(mutex_);
}

ApplicationWindow::ApplicationWindow() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kApplicationWindowClass;
  RegisterClassExW(&windowClass);
  window_ = CreateWindowExW(0, kApplicationWindowClass, kApplicationTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
}

ApplicationWindow::~ApplicationWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

void ActivatePreviousInstance(HWND window) {
  if (IsIconic(window)) ShowWindow(window, SW_SHOWNORMAL);
  const HWND popup = GetLastActivePopup(window);
  if (IsIconic(popup)) ShowWindow(popup, SW_SHOWNORMAL);
  const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const DWORD ownThread = GetCurrentThreadId();
  AttachThreadInput(ownThread, foregroundThread, TRUE);
  SetForegroundWindow(popup);
  AttachThreadInput(ownThread, foregroundThread, FALSE);
}

int Main(const frmMain::Recovery& recover, const frmMain::DbxFileChooser& chooseDbxFile,
         const std::vector<std::u16string>& storePaths) {
  const Language language = platform::UserReadsJapanese() ? Language::Japanese : Language::English;
  const InstanceMutex instance;
  if (instance.PreviousInstance()) {
    ActivatePreviousInstance(FindWindowW(kApplicationWindowClass, kApplicationTitle));
    if (!storePaths.empty()) HandStorePaths(storePaths, language);
    return 0;
  }
  const ComApartment com;
  const ApplicationWindow application;
  try {
    frmMain form(application.Handle(), DiscoverMailStores(), language, recover, chooseDbxFile, [] { PostQuitMessage(0); });
    form.Show();
    if (!storePaths.empty()) form.OfferDbxFiles(storePaths);
    return RunMessageLoop(form);
  } catch (const std::exception&) {
    // Without a main window there is nothing to show a message in.
    return 1;
  }
}
