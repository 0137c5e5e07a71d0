#include "shell/MainWindowControls.h"

#include <commctrl.h>

namespace {

using enum ControlId;

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
    {picHeader,    None,      kPanelClass, WindowText::None, kPanel | kShown, WS_EX_CONTROLPARENT, 0, 0, 9390, 675, kDefaultFont},
    {Label3,       picHeader, L"STATIC", WindowText::Maker, kLabel | kShown, kPlain, 5880, 60, 3360, 225, kHeaderFont},
    {lblHeader,    picHeader, L"STATIC", WindowText::Header, kLabel | kShown, kPlain, 180, 420, 6030, 180, kDefaultFont},
    {picFrame,     None,      kPanelClass, WindowText::None, kPanel | kShown, WS_EX_CONTROLPARENT, 120, 780, 9195, 4335, kDefaultFont},
    {Label2,       picFrame,  L"STATIC", WindowText::StepStore, kLabel | kShown, kPlain, 300, 240, 3555, 255, kDefaultFont},
    {optDefault,   picFrame,  L"BUTTON", WindowText::Inbox, kOption | WS_TABSTOP | WS_GROUP | kShown, kPlain, 600, 540, 7155, 255, kDefaultFont},
    {optFolder,    picFrame,  L"BUTTON", WindowText::StoreBelow, kOption | kShown, kPlain, 600, 900, 7155, 255, kDefaultFont},
    // In the option group, so it comes before the box in the table; it is shown below the box.
    {optAll,       picFrame,  L"BUTTON", WindowText::AllFolders, kOption | kShown, kPlain, 600, 1620, 7155, 255, kDefaultFont},
    {txtDBXFile,   picFrame,  L"EDIT",   WindowText::None, kText | WS_GROUP | kShown, WS_EX_CLIENTEDGE, 660, 1200, 7095, 315, kDefaultFont},
    {cmdFindDBX,   picFrame,  L"BUTTON", WindowText::Browse, kButton | WS_GROUP | kShown, kPlain, 7920, 1200, 795, 315, kDefaultFont},
    {Label5,       picFrame,  L"STATIC", WindowText::StepOutput, kLabel | WS_GROUP | kShown, kPlain, 300, 2100, 5955, 255, kDefaultFont},
    {txtEMLFolder, picFrame,  L"EDIT",   WindowText::None, kText | WS_GROUP | kShown, WS_EX_CLIENTEDGE, 660, 2340, 7095, 315, kDefaultFont},
    {cmdFindEML,   picFrame,  L"BUTTON", WindowText::Browse, kButton | WS_GROUP | kShown, kPlain, 7920, 2340, 795, 315, kDefaultFont},
    {Label4,       picFrame,  L"STATIC", WindowText::OutputNote, kLabel | WS_GROUP | kShown, kPlain, 660, 2760, 7635, 255, kDefaultFont},
    {Label7,       picFrame,  L"STATIC", WindowText::StepOptions, kLabel | WS_GROUP | kShown, kPlain, 300, 3180, 3075, 255, kDefaultFont},
    {chkPointer,   picFrame,  L"BUTTON", WindowText::SkipPointerCheck, kCheck | WS_GROUP | kShown, kPlain, 660, 3480, 4035, 255, kDefaultFont},
    {chkFreed,     picFrame,  L"BUTTON", WindowText::RecoverFreed, kCheck | WS_GROUP | kShown, kPlain, 660, 3780, 4035, 255, kDefaultFont},
    {Picture1,     None,      kPanelClass, WindowText::None, kPanel | kShown, WS_EX_CONTROLPARENT, 0, 5220, 9390, 675, kDefaultFont},
    {lblProc,      Picture1,  L"STATIC", WindowText::Extracting, kLabel, kPlain, 180, 240, 540, 180, kDefaultFont},
    {prgStatus,    Picture1,  PROGRESS_CLASSW, WindowText::None, kPlain, kPlain, 840, 180, 3795, 315, kDefaultFont},
    {lblPercent,   Picture1,  L"STATIC", WindowText::Percent0, kLabel, kPlain, 4920, 240, 180, 180, kDefaultFont},
    {lblStatus,    Picture1,  L"STATIC", WindowText::ExtractedNone, kLabel, kPlain, 5580, 240, 1455, 180, kDefaultFont},
    {lblMessage,   Picture1,  L"STATIC", WindowText::MessageDesign, kLabel | kShown, kPlain, 180, 240, 675, 180, kDefaultFont},
    // Shown at rest only, where the run's labels are not; enabled once a run has something to list.
    {cmdResults,   Picture1,  L"BUTTON", WindowText::ResultsButton, kButton | BS_NOTIFY | WS_DISABLED | WS_GROUP | kShown, kPlain, 6360, 180, 1335, 315, kDefaultFont},
    {cmdStart,     Picture1,  L"BUTTON", WindowText::Start, kButton | BS_DEFPUSHBUTTON | WS_GROUP | kShown, kPlain, 7800, 180, 1335, 315, kDefaultFont},
    {cmdStop,      Picture1,  L"BUTTON", WindowText::Stop, kButton | WS_GROUP, kPlain, 7800, 180, 1335, 315, kDefaultFont},
    {lblRename,    Picture1,  L"STATIC", WindowText::Renaming, kLabel, kPlain, 180, 240, 630, 180, kDefaultFont},
};
// clang-format on

}  // namespace

std::span<const ControlDesign<ControlId>> MainWindowControls() { return kControls; }
