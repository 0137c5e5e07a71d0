#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ModalScript.h"
#include "Screenshot.h"
#include "WindowHarness.h"
#include "shell/AboutWindow.h"
#include "shell/GradientBand.h"
#include "shell/HtmlHelp.h"
#include "shell/ProgramVersion.h"
#include "shell/resource.h"
#include "win32ui/Twips.h"

namespace {

using Id = ControlId;

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

// Controls of the About window, wherever they lie (some are inside the band or the covered picture).
HWND AboutItem(HWND about, AboutControl id) {
  for (const HWND parent : {about, GetDlgItem(about, static_cast<int>(AboutControl::picHeader)),
                            GetDlgItem(about, static_cast<int>(AboutControl::Picture1))}) {
    const HWND control = GetDlgItem(parent, static_cast<int>(id));
    if (control != nullptr) return control;
  }
  return nullptr;
}

HWND AboutWindow() { return ThreadWindow(L"Palvenor", L"#32770"); }

void Menu(HWND window, UINT item) { SendMessageW(window, WM_COMMAND, MAKEWPARAM(item, 0), 0); }

COLORREF PixelOf(HWND window, int x, int y) {
  const HDC dc = GetDC(window);
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

bool Near(COLORREF colour, COLORREF expected) {
  return std::abs(GetRValue(colour) - GetRValue(expected)) <= 4 && std::abs(GetGValue(colour) - GetGValue(expected)) <= 4 &&
         std::abs(GetBValue(colour) - GetBValue(expected)) <= 4;
}

using AboutWindowTest = WindowHarness;

TEST_F(AboutWindowTest, ShowsTheVersionAndTheDescription) {
  Open();
  ASSERT_TRUE(MenuItemEnabled(IDM_HELP_ABOUT));
  const ModalScript about(AboutWindow, [&](HWND window) {
    EXPECT_EQ(GetWindow(window, GW_OWNER), form_->Window());
    const std::wstring version = L"\u3000Palvenor のバージョン： 1.0.34";
    EXPECT_EQ(TextOf(AboutItem(window, AboutControl::lblTitle)), L"Palvenor システム情報：");
    EXPECT_EQ(TextOf(AboutItem(window, AboutControl::lblVersion)), version);
    EXPECT_EQ(TextOf(AboutItem(window, AboutControl::lblDescription)), L"アプリケーション情報");
    EXPECT_EQ(TextOf(AboutItem(window, AboutControl::Label1)), L"Tessaly");
    EXPECT_EQ(TextOf(AboutItem(window, AboutControl::Label8)), L"Palvenor");
    EXPECT_EQ(TextOf(AboutItem(window, AboutControl::lblDisclaimer)), L"");
    EXPECT_NE(TextOf(AboutItem(window, AboutControl::lblCopyRight)).find(L"Tessaly"), std::wstring::npos);
    const std::wstring description = TextOf(AboutItem(window, AboutControl::txtDescription));
    EXPECT_EQ(description.rfind(version + L"\r\n\r\n\u3000Outlook Expree で消えてしまったメールデータをDBXファイルから抽出します。"
                                          L"\r\n\r\n\u3000\r\n\r\n\u3000", 0),
              0u);
    EXPECT_EQ(description.find(L"\r\n\r\n", description.rfind(L"\r\n\r\n") + 1), std::wstring::npos);

    RECT client{};
    GetClientRect(window, &client);
    const UINT dpi = GetDpiForWindow(window);
    EXPECT_EQ(client.right, TwipsToPixels(7665, dpi));
    EXPECT_EQ(client.bottom, TwipsToPixels(4695, dpi));
    RECT frame{};
    RECT owner{};
    GetWindowRect(window, &frame);
    GetWindowRect(form_->Window(), &owner);
    EXPECT_LE(std::abs((frame.left + frame.right) - (owner.left + owner.right)), 1) << "centred over the main window";
    EXPECT_LE(std::abs((frame.top + frame.bottom) - (owner.top + owner.bottom)), 1);

    // The band: steel blue at the left edge, green at the right.
    const HWND band = AboutItem(window, AboutControl::picHeader);
    RECT bandArea{};
    GetClientRect(band, &bandArea);
    SaveScreenshot(window, L"about");
    EXPECT_TRUE(Near(PixelOf(band, 0, bandArea.bottom - 2), kBandLeft));
    EXPECT_TRUE(Near(PixelOf(band, bandArea.right - 1, bandArea.bottom - 2), kBandRight));
    SendMessageW(AboutItem(window, AboutControl::cmdOK), BM_CLICK, 0, 0);
  });
  Menu(form_->Window(), IDM_HELP_ABOUT);
  EXPECT_TRUE(about.Ran());
  EXPECT_EQ(AboutWindow(), nullptr);
}

TEST_F(AboutWindowTest, EnterEscAndTheCloseBoxClose) {
  Open();
  const std::pair<const char*, std::function<void(HWND)>> ways[] = {
      {"Enter", [](HWND) { PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0); }},
      {"Esc", [](HWND) { PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); }},
      {"close box", [](HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const auto& [way, close] : ways) {
    const ModalScript about(AboutWindow, [&](HWND window) {
      close(window);
      PumpDialog(window);
      EXPECT_FALSE(IsWindowVisible(window)) << way;
    });
    Menu(form_->Window(), IDM_HELP_ABOUT);
    EXPECT_TRUE(about.Ran()) << way;
  }
}

TEST(AboutTexts, VersionNumbersArePlainDecimal) {
  EXPECT_EQ(VersionLine(u"Palvenor", {1, 0, 34}, Language::Japanese), u"\u3000Palvenor のバージョン： 1.0.34");
  EXPECT_EQ(VersionLine(u"Palvenor", {1, 0, 5}, Language::Japanese), u"\u3000Palvenor のバージョン： 1.0.5");
  EXPECT_EQ(VersionLine(u"Palvenor", kProgramVersion, Language::Japanese), u"\u3000Palvenor のバージョン： 1.0.34");
  EXPECT_EQ(VersionLine(u"Palvenor", {1, 0, 5}, Language::English), u"Palvenor version 1.0.5");
}

TEST(GradientBand, CornerAndChannelsFollowTheTwipsAndThe16BitFields) {
  struct Case {
    SIZE twips;
    double twipsPerPixel;
    LONG x, y;
  };
  const Case cases[] = {
      {{9390, 675}, 15, 626, 45}, {{9390, 675}, 12, 782, 56}, {{7665, 735}, 15, 511, 49}, {{29, 0}, 15, 1, 0},
      // Both operands are rounded first, halves to even: 7.5 twips per pixel counts as 8.
      {{9390, 675}, 7.5, 1173, 84},
  };
  for (const Case& c : cases) {
    const POINT corner = GradientCorner(c.twips, c.twipsPerPixel, c.twipsPerPixel);
    EXPECT_EQ(corner.x, c.x) << c.twips.cx << " at " << c.twipsPerPixel;
    EXPECT_EQ(corner.y, c.y) << c.twips.cy << " at " << c.twipsPerPixel;
  }
  const std::pair<std::int32_t, std::int16_t> channels[] = {
      {0, 0}, {165 * 256, static_cast<std::int16_t>(0xA500 - 0x10000)}, {32767, 32767}, {32768, -32768}, {65535, -1}};
  for (const auto& [value, field] : channels) EXPECT_EQ(ToColor16(value), field) << value;
}

TEST_F(AboutWindowTest, MainWindowBandRunsFromBlueToGreen) {
  Open();
  const HWND band = Control(Id::picHeader);
  RECT area{};
  GetClientRect(band, &area);
  RedrawWindow(form_->Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump(200);
  EXPECT_TRUE(Near(PixelOf(band, 0, area.bottom - 2), kBandLeft));
  EXPECT_TRUE(Near(PixelOf(band, area.right - 1, area.bottom - 2), kBandRight));
}

TEST(HelpFile, LiesNextToTheProgramAlsoAtADriveRoot) {
  const std::pair<std::u16string, std::u16string> programs[] = {
      {u"C:\\Tools\\Palvenor.exe", u"C:\\Tools\\VORTAKI.chm"},
      {u"D:\\Palvenor.exe", u"D:\\VORTAKI.chm"},
      {u"\\\\server\\share\\Palvenor.exe", u"\\\\server\\share\\VORTAKI.chm"},
  };
  for (const auto& [program, help] : programs) {
    EXPECT_EQ(HelpFilePath(FolderOfProgram(program), Language::Japanese), help) << Wide(program);
  }
  EXPECT_EQ(HelpFilePath(u"D:\\", Language::English), u"D:\\VORTAKI-en.chm");
  EXPECT_EQ(HelpFilePath(u"C:\\Tools", Language::English), u"C:\\Tools\\VORTAKI-en.chm");
  EXPECT_EQ(FolderOfProgram(u"D:\\Palvenor.exe"), u"D:\\");
  EXPECT_EQ(FolderOfProgram(u"C:\\Tools\\Palvenor.exe"), u"C:\\Tools");
  // The build puts the help files next to this test program as it does next to Palvenor.exe.
  for (const Language language : {Language::Japanese, Language::English}) {
    const std::u16string here = HelpFilePath(ProgramFolder(), language);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(Wide(here)))) << Wide(here);
  }
}

using HelpWindow = WindowHarness;

// Each language opens its own file, told apart by the title it carries.
TEST_F(HelpWindow, OpensFromTheMenuOverTheMainWindowAndClosesWithIt) {
  for (const auto& [language, title] : {std::pair{Language::Japanese, L"Palvenor ヘルプ"}, std::pair{Language::English, L"Palvenor Help"}}) {
    language_ = language;
    Open();
    ASSERT_TRUE(MenuItemEnabled(IDM_HELP_HELP));
    EXPECT_EQ(ThreadWindow(title), nullptr);
    Menu(form_->Window(), IDM_HELP_HELP);
    Pump(500);
    // The viewer is there; under Wine its pages stay blank.
    const HWND help = ThreadWindow(title);
    ASSERT_NE(help, nullptr) << title;
    wchar_t className[64] = {};
    GetClassNameW(help, className, 64);
    EXPECT_STREQ(className, L"HH Parent");
    EXPECT_EQ(GetWindow(help, GW_OWNER), form_->Window());
    SendMessageW(form_->Window(), WM_CLOSE, 0, 0);
    Pump(300);
    EXPECT_FALSE(IsWindow(help) && IsWindowVisible(help)) << "closing the main window closes the help";
  }
}

// The main window asks the viewer to close all help windows when it closes; its own help window would
// go with it anyway, so this shows on one that nothing owns.
TEST(HtmlHelpViewer, CloseAllClosesTheWindowsItOpened) {
  HtmlHelpViewer viewer;
  viewer.CloseAll(nullptr);  // before any help was shown: nothing to do, nothing loaded
  viewer.DisplayTopic(nullptr, HelpFilePath(ProgramFolder(), Language::Japanese));
  PumpMessages(500);
  const HWND help = ThreadWindow(L"Palvenor ヘルプ");
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(GetWindow(help, GW_OWNER), nullptr);
  viewer.CloseAll(nullptr);
  PumpMessages(300);
  EXPECT_FALSE(IsWindow(help) && IsWindowVisible(help));
}

}  // namespace
