#include "shell/AboutWindow.h"

#include "platform/win32/Wide.h"
#include "shell/ProgramVersion.h"
#include "win32ui/ControlTable.h"
#include "win32ui/WindowText.h"

using platform::win32::FromWide;
using platform::win32::Wide;

std::u16string AboutDescription(const std::u16string& versionLine, Language language) {
  return Text(WindowText::AboutDescription, language, {versionLine});
}

void frmAbout::Form_Load() {
  // The header band paints its gradient whenever it is drawn (frmAboutWindow.cpp).
  SetWindowTextW(dialog_, kApplicationTitle);
  const std::u16string title = FromWide(kApplicationTitle);
  // The single-line labels fit their captions (win32ui/ControlTable.h).
  SetLabelText(Control(AboutControl::lblCopyRight), Wide(Text(WindowText::Copyright, language_)));
  SetLabelText(Control(AboutControl::lblTitle), Wide(Text(WindowText::SystemInformation, language_, {title})));
  const std::u16string versionLine = VersionLine(title, kProgramVersion, language_);
  SetLabelText(Control(AboutControl::lblVersion), Wide(versionLine));
  SetText(Control(AboutControl::txtDescription), AboutDescription(versionLine, language_));

  // The etched rule spans the whole inner width, the grey line one pixel below the white one.
  RECT client{};
  GetClientRect(dialog_, &client);
  lineLength_ = client.right;
  greyLineY_ = whiteLineY_ + 1;
}

void frmAbout::cmdOK_Click() { EndDialog(dialog_, IDOK); }
