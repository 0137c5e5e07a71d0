// Every window in both languages: each text there and in the window's language, none cut off, and
// pictures of the English windows beside the Japanese ones.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "MessageBoxAnswerer.h"
#include "ModalScript.h"
#include "Screenshot.h"
#include "WindowHarness.h"
#include "chooser/DbxChooser.h"
#include "engine/RecoveryRun.h"
#include "platform/Utf.h"
#include "shell/resource.h"
#include "windowtexts/WindowTexts.h"

namespace {

using Id = ControlId;

std::string Narrow(const std::wstring& text) { return platform::ToUtf8(std::u16string(text.begin(), text.end())); }

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring TextOf(HWND window) {
  wchar_t text[2048] = {};
  GetWindowTextW(window, text, 2048);
  return text;
}

// English windows show Japanese only in the names of what a run makes, which stay as they are.
bool ShowsJapanese(std::wstring text) {
  for (const std::wstring_view name : {L"メール復元", L"削除済みメール"}) {
    for (std::size_t at = text.find(name); at != std::wstring::npos; at = text.find(name)) text.erase(at, name.size());
  }
  for (const wchar_t c : text) {
    if ((c >= 0x3000 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF)) return true;
  }
  return false;
}

// The text as drawn, without its access-key mark.
std::wstring Drawn(const std::wstring& text) {
  std::wstring drawn;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    drawn += text[i];
  }
  return drawn;
}

// The size of the text in the control's font; wrapped at width when it is not zero.
SIZE Extent(HWND control, const std::wstring& text, int width = 0) {
  const HDC dc = GetDC(control);
  const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT area{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), -1, &area, DT_CALCRECT | DT_NOPREFIX | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return SIZE{area.right, area.bottom};
}

BOOL CALLBACK Collect(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

bool Is(HWND window, std::wstring_view className) { return _wcsicmp(ClassOf(window).c_str(), className.data()) == 0; }

// What a shown label may not overlap: the other shown controls of its container that show something.
void ExpectLabelClear(HWND label, const std::string& what) {
  RECT place{};
  GetWindowRect(label, &place);
  RECT container{};
  GetClientRect(GetParent(label), &container);
  MapWindowPoints(GetParent(label), nullptr, reinterpret_cast<POINT*>(&container), 2);
  EXPECT_LE(place.right, container.right) << what << " runs out of its container";
  for (HWND other = GetWindow(GetParent(label), GW_CHILD); other != nullptr; other = GetWindow(other, GW_HWNDNEXT)) {
    if (other == label || !IsWindowVisible(other) || (Is(other, L"Static") && TextOf(other).empty())) continue;
    // A sunken neighbour's edge may touch the text: the text stays readable beside it, as the Japanese
    // chooser's "DBXファイル(&D):" does in the substitute font under Wine.
    RECT otherPlace{};
    GetWindowRect(other, &otherPlace);
    if ((GetWindowLongW(other, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0) InflateRect(&otherPlace, -GetSystemMetrics(SM_CXEDGE), 0);
    RECT overlap{};
    EXPECT_FALSE(IntersectRect(&overlap, &place, &otherPlace))
        << what << " overlaps " << Narrow(ClassOf(other)) << " by " << overlap.right - overlap.left << " pixels";
  }
}

// Every shown control of the window: its text in the language, and whole.
void ExpectTextsWhole(HWND window, Language language, const char* where) {
  std::vector<HWND> children;
  EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&children));
  int checked = 0;
  for (const HWND child : children) {
    const std::wstring text = TextOf(child);
    if (!IsWindowVisible(child) || text.empty() || Is(child, L"Edit") || Is(child, L"ComboBox")) continue;
    const std::string what = std::string(where) + " [" + Narrow(text) + "]";
    EXPECT_FALSE(language == Language::English && ShowsJapanese(text)) << what;
    RECT client{};
    GetClientRect(child, &client);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (Is(child, L"Static")) {
      if ((style & SS_TYPEMASK) == SS_LEFT) {
        EXPECT_LE(Extent(child, Drawn(text), client.right).cy, client.bottom) << what;
      } else {
        EXPECT_LE(Extent(child, Drawn(text)).cx, client.right) << what;
      }
      ExpectLabelClear(child, what);
    } else if (Is(child, L"Button")) {
      const LONG type = style & BS_TYPEMASK;
      const bool boxed = type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON;
      const int beside = boxed ? GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE) : 2 * GetSystemMetrics(SM_CXEDGE);
      EXPECT_LE(Extent(child, Drawn(text)).cx + beside, client.right) << what;
    }
    ++checked;
  }
  EXPECT_GE(checked, 4) << where;
}

void AddMenuTexts(HMENU menu, std::vector<std::wstring>& texts) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t item[128] = {};
    if (GetMenuStringW(menu, static_cast<UINT>(i), item, 128, MF_BYPOSITION) > 0) texts.push_back(item);
    if (const HMENU sub = GetSubMenu(menu, i)) AddMenuTexts(sub, texts);
  }
}

const char* NameOf(Language language) { return language == Language::English ? "english" : "japanese"; }
std::wstring Suffix(Language language) { return language == Language::English ? L"-english" : L"-japanese"; }

class Languages : public WindowHarness, public ::testing::WithParamInterface<Language> {};

TEST_P(Languages, MainWindowShowsEveryTextWholeWithItsMenusAndTips) {
  language_ = GetParam();
  Open();
  ExpectTextsWhole(form_->Window(), language_, NameOf(language_));
  std::vector<std::wstring> texts;
  AddMenuTexts(GetMenu(form_->Window()), texts);
  EXPECT_EQ(texts.size(), 6u);
  for (const Id box : {Id::chkPointer, Id::chkFreed}) texts.emplace_back(platform::win32::Wide(form_->TooltipText(box)));
  for (const std::wstring& text : texts) {
    EXPECT_FALSE(text.empty());
    EXPECT_FALSE(language_ == Language::English && ShowsJapanese(text)) << Narrow(text);
  }
  SaveScreenshot(form_->Window(), L"main-window" + Suffix(language_));
}

TEST_P(Languages, ChooserShowsEveryTextWholeWithItsColumns) {
  language_ = GetParam();
  Open();
  const std::wstring caption = platform::win32::Wide(::Text(WindowText::ChooserCaption, language_));
  const ModalScript chooser([&] { return ThreadWindow(caption, L"#32770"); }, [&](HWND window) {
    ExpectTextsWhole(window, language_, NameOf(language_));
    const HWND header = reinterpret_cast<HWND>(SendMessageW(GetDlgItem(window, static_cast<int>(DbxControl::lvwDBXFile)), LVM_GETHEADER, 0, 0));
    for (int i = 0; i < 2; ++i) {
      wchar_t text[64] = {};
      HDITEMW item{};
      item.mask = HDI_TEXT | HDI_WIDTH;
      item.pszText = text;
      item.cchTextMax = 64;
      SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      EXPECT_NE(text[0], L'\0');
      EXPECT_LT(Extent(header, text).cx, item.cxy) << Narrow(text);
      EXPECT_FALSE(language_ == Language::English && ShowsJapanese(text)) << Narrow(text);
    }
    SaveScreenshot(window, L"chooser" + Suffix(language_));
    SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
  });
  Click(Id::cmdFindDBX);
  EXPECT_TRUE(chooser.Ran());
}

TEST_P(Languages, AboutShowsEveryTextWhole) {
  language_ = GetParam();
  Open();
  const ModalScript about([] { return ThreadWindow(L"Palvenor", L"#32770"); }, [&](HWND window) {
    ExpectTextsWhole(window, language_, NameOf(language_));
    SaveScreenshot(window, L"about" + Suffix(language_));
    SendMessageW(window, WM_COMMAND, IDOK, 0);
  });
  SendMessageW(form_->Window(), WM_COMMAND, MAKEWPARAM(IDM_HELP_ABOUT, 0), 0);
  EXPECT_TRUE(about.Ran());
}

// The run reports in the window's language, and so do the window's own questions and refusals.
TEST_P(Languages, MessagesComeInTheWindowsLanguage) {
  language_ = GetParam();
  OpenWith([](const std::u16string& dbxPath, RecoveryRun& run, RecoveryUi& ui) { RecoverMails(dbxPath, run, ui); });
  const MessageBoxAnswerer answerer;
  Click(Id::optFolder);
  Type(Id::txtDBXFile, L"Z:\\missing\\none.dbx");
  Click(Id::cmdStart);
  form_->OfferDbxFiles({u"a.dbx", u"b.dbx"});
  ASSERT_EQ(answerer.Shown().size(), 2u);
  EXPECT_EQ(answerer.Shown()[0].text.rfind(platform::win32::Wide(::Text(TextId::StoreOpenFailed, language_)), 0), 0u);
  EXPECT_EQ(answerer.Shown()[1].text, platform::win32::Wide(::Text(WindowText::StoreMissing, language_, {u"a.dbx"})));
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, Languages, ::testing::Values(Language::Japanese, Language::English),
                         [](const ::testing::TestParamInfo<Language>& language) {
                           return std::string(language.param == Language::English ? "English" : "Japanese");
                         });

}  // namespace
