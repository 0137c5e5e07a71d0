#include "shell/AboutWindow.h"

#include "platform/win32/Wide.h"
#include "shell/ProgramVersion.h"
#include "win32ui/ControlTable.h"
#include "win32ui/WindowText.h"

using platform::win32::FromWide;
using platform::win32::Wide;

std::u16string AboutDescription(const std::u16string& versionLine) {
  constexpr char16_t kParagraphBreak[] = u"\r\n\r\n";
  return versionLine + kParagraphBreak + u"\u3000Outlook Expree で消えてしまったメールデータをDBXファイルから抽出します。" +
         kParagraphBreak + u"\u3000" + kParagraphBreak +
         u"\u3000このプログラムは C++ で書かれ、MinGW-w64 の GCC でビルドされています。";
}

void frmAbout::Form_Load() {
  // The header band paints its gradient whenever it is drawn (frmAboutWindow.cpp).
  SetWindowTextW(dialog_, kApplicationTitle);
  const std::u16string title = FromWide(kApplicationTitle);
  // The single-line labels fit their captions (win32ui/ControlTable.h).
  SetLabelText(Control(AboutControl::lblCopyRight), L"Copyright \u00A9 Tessaly. All rights reserved.");
  SetLabelText(Control(AboutControl::lblTitle), Wide(title + u" システム情報："));
  const std::u16string versionLine = VersionLine(title, kProgramVersion);
  SetLabelText(Control(AboutControl::lblVersion), Wide(versionLine));
  SetText(Control(AboutControl::txtDescription), AboutDescription(versionLine));

  // The etched rule spans the whole inner width, the grey line one pixel below the white one.
  RECT client{};
  GetClientRect(dialog_, &client);
  lineLength_ = client.right;
  greyLineY_ = whiteLineY_ + 1;
}

void frmAbout::cmdOK_Click() { EndDialog(dialog_, IDOK); }
