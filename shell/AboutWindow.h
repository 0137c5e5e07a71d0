#pragma once
// The About window: the header band, the version and a short description of the program.
#include <windows.h>

#include <string>

#include "win32ui/GdiObject.h"
#include "windowtexts/WindowTexts.h"

// OK carries both IDOK and, through the dialog manager, IDCANCEL: Enter and Esc both close.
enum class AboutControl : int {
  None = 0,  // as a container: the window itself
  cmdOK = IDOK,
  picHeader = 100,
  Image1,
  Label1,
  Label8,
  lblCopyRight,
  lblTitle,
  txtDescription,
  Picture1,
  lblVersion,
  lblDescription,
  lblDisclaimer,
};

// The description box's text in the language: the version line, the purpose, (in Japanese) an empty
// paragraph, and the tools.
std::u16string AboutDescription(const std::u16string& versionLine, Language language);

class frmAbout {
 public:
  // Shows the window modally over owner, in the language; returns when it has closed. Built anew at
  // every showing.
  static void Show(HWND owner, Language language);

 private:
  explicit frmAbout(Language language) : language_(language) {}
  template <class Form>
  friend INT_PTR CALLBACK FormDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK BandProcedure(HWND band, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  // Event handlers.
  void Form_Load();
  void cmdOK_Click();

  // Window plumbing (frmAboutWindow.cpp).
  void CreateControls();
  void PaintSeparator(HDC dc) const;
  LRESULT ControlColours(HDC dc, HWND control) const;
  HWND Control(AboutControl id) const;

  const Language language_;
  HWND dialog_ = nullptr;
  GdiObject<HFONT> font_;
  GdiObject<HFONT> makerFont_;
  GdiObject<HFONT> titleFont_;
  GdiObject<HFONT> descriptionFont_;
  // The etched rule: the white line's and the grey line's vertical place and their length, in pixels.
  int whiteLineY_ = 0;
  int greyLineY_ = 0;
  int lineLength_ = 0;
};
