#include "shell/HtmlHelp.h"

#include <vector>

#include "platform/win32/Wide.h"

namespace {

constexpr UINT kDisplayTopic = 0x0000;  // HH_DISPLAY_TOPIC
constexpr UINT kCloseAll = 0x0012;      // HH_CLOSE_ALL

}  // namespace

std::u16string FolderOfProgram(std::u16string_view programPath) {
  const std::size_t separator = programPath.find_last_of(u"\\/");
  if (separator == std::u16string_view::npos) return {};
  // C:\Palvenor.exe lies in C:\ itself.
  const bool driveRoot = separator == 2 && programPath[1] == u':';
  return std::u16string(programPath.substr(0, driveRoot ? separator + 1 : separator));
}

std::u16string ProgramFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      return FolderOfProgram(platform::win32::FromWide(path.data(), length));
    }
    path.resize(path.size() * 2);
  }
}

std::u16string HelpFilePath(std::u16string_view programFolder, Language language) {
  const bool endsInBackslash = !programFolder.empty() && programFolder.back() == u'\\';
  return std::u16string(programFolder) + (endsInBackslash ? u"" : u"\\") +
         (language == Language::English ? u"VORTAKI-en.chm" : u"VORTAKI.chm");
}

HtmlHelpViewer::~HtmlHelpViewer() {
  if (library_ != nullptr) FreeLibrary(library_);
}

bool HtmlHelpViewer::Load() {
  if (htmlHelp_ != nullptr) return true;
  if (library_ == nullptr) library_ = LoadLibraryW(L"hhctrl.ocx");
  if (library_ == nullptr) return false;
  htmlHelp_ = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(library_, "HtmlHelpW")));
  return htmlHelp_ != nullptr;
}

void HtmlHelpViewer::DisplayTopic(HWND caller, const std::u16string& file) {
  if (Load()) htmlHelp_(caller, platform::win32::Wide(file), kDisplayTopic, 0);
}

void HtmlHelpViewer::CloseAll(HWND caller) {
  if (htmlHelp_ != nullptr) htmlHelp_(caller, nullptr, kCloseAll, 0);
}
