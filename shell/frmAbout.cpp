#include "shell/frmAbout.h"

#include "shell/ApplicationTitle.h"
#include "shell/ProgramVersion.h"
#include "shell/WindowText.h"

std::u16string AboutDescription(const std::u16string& versionLine) {
  constexpr char16_t kParagraphBreak[] = u"\r\n\r\n";
  return versionLine + kParagraphBreak + u"\u3000Outlook Expree で消えてしまったメールデータをDBXファイルから抽出します。" +
         kParagraphBreak + u"\u3000" + kParagraphBreak +
         u"\u3000このプログラムは C++ で書かれ、MinGW-w64 の GCC でビルドされています。";
}

void frmAbout::Form_Load() {
  // The header band paints its gradient whenever it is drawn (frmAboutWindow.cpp).
  SetWindowTextW(dialog_, kApplicationTitle);
  const std::u16string title = reinterpret_cast<const char16_t*>(kApplicationTitle);
  SetText(Control(AboutControl::lblCopyRight), u"Copyright \u00A9 Tessaly. All rights reserved.");
  SetText(Control(AboutControl::lblTitle), title + u" システム情報：");
  const std::u16string versionLine = VersionLine(title, kProgramVersion);
  SetText(Control(AboutControl::lblVersion), versionLine);
  SetText(Control(AboutControl::txtDescription), AboutDescription(versionLine));

  // The etched rule spans the whole inner width, the grey line one pixel below the white one.
  RECT client{};
  GetClientRect(dialog_, &client);
  lineLength_ = client.right;
  greyLineY_ = whiteLineY_ + 1;
}

void frmAbout::cmdOK_Click() { EndDialog(dialog_, IDOK); }
