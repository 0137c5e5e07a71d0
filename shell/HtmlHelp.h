#pragma once
// The program's help file and the HTML Help viewer, which is loaded only when help is first asked
// for, so that the program also runs where hhctrl.ocx is missing.
#include <windows.h>

#include <string>
#include <string_view>

#include "engine/Texts.h"

// The folder of a program's full path; a drive root keeps its backslash (D:\), other folders have none.
std::u16string FolderOfProgram(std::u16string_view programPath);
// The folder of the running program, in the same form.
std::u16string ProgramFolder();
// The help file of the language in that folder: "VORTAKI.chm" in Japanese, "VORTAKI-en.chm" in English.
std::u16string HelpFilePath(std::u16string_view programFolder, Language language);

class HtmlHelpViewer {
 public:
  HtmlHelpViewer() = default;
  HtmlHelpViewer(const HtmlHelpViewer&) = delete;
  HtmlHelpViewer& operator=(const HtmlHelpViewer&) = delete;
  ~HtmlHelpViewer();

  // Opens the file's default topic; a missing file or viewer is left to the help system (or nothing).
  void DisplayTopic(HWND caller, const std::u16string& file);
  // Closes every help window the program opened (nothing when help was never shown).
  void CloseAll(HWND caller);

 private:
  using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
  bool Load();

  HMODULE library_ = nullptr;
  HtmlHelpFunction htmlHelp_ = nullptr;
};
