#include "shell/MainWindowControls.h"

#include <commctrl.h>

#include "engine/Texts.h"

namespace {

using enum ControlId;

constexpr const char16_t* kAllFoldersCaption = JapaneseText(TextId::AllFoldersOption).data();

// WS_GROUP starts a group of controls that the arrow keys move between; Tab enters the option group
// at its first button.
constexpr DWORD kShown = WS_VISIBLE;
constexpr DWORD kPanel = WS_CLIPSIBLINGS;
constexpr DWORD kLabel = SS_LEFTNOWORDWRAP;
constexpr DWORD kOption = BS_AUTORADIOBUTTON;
constexpr DWORD kText = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kButton = WS_TABSTOP;
constexpr DWORD kCheck = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kPlain = 0;

// clang-format off
constexpr ControlDesign<ControlId> kControls[] = {
    {picHeader,    None,      kPanelClass, u"", kPanel | kShown, WS_EX_CONTROLPARENT, 0, 0, 9390, 675, kDefaultFont},
    {Label3,       picHeader, L"STATIC", u"Tessaly", kLabel | kShown, kPlain, 5880, 60, 3360, 225, kHeaderFont},
    {lblHeader,    picHeader, L"STATIC",
     u"Outlook Expre\uFF53\uFF53 で消えてしまったメールデータをDBXファイルから抽出します。", kLabel | kShown, kPlain, 180, 420, 6030, 180, kDefaultFont},
    {picFrame,     None,      kPanelClass, u"", kPanel | kShown, WS_EX_CONTROLPARENT, 120, 780, 9195, 4335, kDefaultFont},
    {Label2,       picFrame,  L"STATIC", u"１．DBXファイルを指定してください。", kLabel | kShown, kPlain, 300, 240, 3555, 255, kDefaultFont},
    {optDefault,   picFrame,  L"BUTTON", u"（ユーザ名）の受信トレイ(&R)", kOption | WS_TABSTOP | WS_GROUP | kShown, kPlain, 600, 540, 7155, 255, kDefaultFont},
    {optFolder,    picFrame,  L"BUTTON", u"以下に指定するフォルダ（DBXファイル）(&F)", kOption | kShown, kPlain, 600, 900, 7155, 255, kDefaultFont},
    // In the option group, so it comes before the box in the table; it is shown below the box.
    {optAll,       picFrame,  L"BUTTON", kAllFoldersCaption, kOption | kShown, kPlain, 600, 1620, 7155, 255, kDefaultFont},
    {txtDBXFile,   picFrame,  L"EDIT",   u"", kText | WS_GROUP | kShown, WS_EX_CLIENTEDGE, 660, 1200, 7095, 315, kDefaultFont},
    {cmdFindDBX,   picFrame,  L"BUTTON", u"参照", kButton | WS_GROUP | kShown, kPlain, 7920, 1200, 795, 315, kDefaultFont},
    {Label5,       picFrame,  L"STATIC", u"２．EMLファイルの出力先のフォルダを指定してください。(&E)", kLabel | WS_GROUP | kShown, kPlain, 300, 2100, 5955, 255, kDefaultFont},
    {txtEMLFolder, picFrame,  L"EDIT",   u"", kText | WS_GROUP | kShown, WS_EX_CLIENTEDGE, 660, 2340, 7095, 315, kDefaultFont},
    {cmdFindEML,   picFrame,  L"BUTTON", u"参照", kButton | WS_GROUP | kShown, kPlain, 7920, 2340, 795, 315, kDefaultFont},
    {Label4,       picFrame,  L"STATIC",
     u"（指定されたフォルダに、「メール復元YYYYMMDDhhmmss」という名前のサブフォルダを作成します。）", kLabel | WS_GROUP | kShown, kPlain, 660, 2760, 7635, 255, kDefaultFont},
    {Label7,       picFrame,  L"STATIC", u"３．オプション", kLabel | WS_GROUP | kShown, kPlain, 300, 3180, 3075, 255, kDefaultFont},
    {chkPointer,   picFrame,  L"BUTTON", u"ポインターの正当性チェックを行わない。(&P)", kCheck | WS_GROUP | kShown, kPlain, 660, 3480, 4035, 255, kDefaultFont},
    {chkFreed,     picFrame,  L"BUTTON", u"削除済み領域のメールも復元する(&D)", kCheck | WS_GROUP | kShown, kPlain, 660, 3780, 4035, 255, kDefaultFont},
    {Picture1,     None,      kPanelClass, u"", kPanel | kShown, WS_EX_CONTROLPARENT, 0, 5220, 9390, 675, kDefaultFont},
    {lblProc,      Picture1,  L"STATIC", kExtractingCaption, kLabel, kPlain, 180, 240, 540, 180, kDefaultFont},
    {prgStatus,    Picture1,  PROGRESS_CLASSW, u"", kPlain, kPlain, 840, 180, 3795, 315, kDefaultFont},
    {lblPercent,   Picture1,  L"STATIC", u"0%", kLabel, kPlain, 4920, 240, 180, 180, kDefaultFont},
    {lblStatus,    Picture1,  L"STATIC", u"0通のメールを抽出", kLabel, kPlain, 5580, 240, 1455, 180, kDefaultFont},
    {lblMessage,   Picture1,  L"STATIC", u"メッセージ", kLabel | kShown, kPlain, 180, 240, 675, 180, kDefaultFont},
    {cmdStart,     Picture1,  L"BUTTON", u"開始", kButton | BS_DEFPUSHBUTTON | WS_GROUP | kShown, kPlain, 7800, 180, 1335, 315, kDefaultFont},
    {cmdStop,      Picture1,  L"BUTTON", u"停止", kButton | WS_GROUP, kPlain, 7800, 180, 1335, 315, kDefaultFont},
    {lblRename,    Picture1,  L"STATIC", kRenamingCaption, kLabel, kPlain, 180, 240, 630, 180, kDefaultFont},
};
// clang-format on

}  // namespace

std::span<const ControlDesign<ControlId>> MainWindowControls() { return kControls; }
