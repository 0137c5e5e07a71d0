#include "shell/frmMainControls.h"

#include "engine/RecoveryText.h"

namespace {

using enum ControlId;
using K = ControlKind;

// clang-format off
constexpr ControlDesign kControls[] = {
    {picHeader,    None,      K::Panel,    nullptr, 0, 0, 9390, 675, true, false},
    {Label3,       picHeader, K::Label,    u"Tessaly", 5880, 60, 3360, 225, true, false},
    {lblHeader,    picHeader, K::Label,
     u"Outlook Expre\uFF53\uFF53 で消えてしまったメールデータをDBXファイルから抽出します。", 180, 420, 6030, 180, true, false},
    {picFrame,     None,      K::Panel,    nullptr, 120, 780, 9195, 4335, true, false},
    {Label2,       picFrame,  K::Label,    u"１．DBXファイルを指定してください。", 300, 240, 3555, 255, true, false},
    {optDefault,   picFrame,  K::Option,   u"（ユーザ名）の受信トレイ(&R)", 600, 540, 7155, 255, true, true},
    {optFolder,    picFrame,  K::Option,   u"以下に指定するフォルダ（DBXファイル）(&F)", 600, 900, 7155, 255, true, false},
    {txtDBXFile,   picFrame,  K::Text,     u"", 660, 1200, 7095, 315, true, true},
    {cmdFindDBX,   picFrame,  K::Button,   u"参照", 7920, 1200, 795, 315, true, true},
    {Label5,       picFrame,  K::Label,    u"２．EMLファイルの出力先のフォルダを指定してください。(&E)", 300, 1740, 5955, 255, true, true},
    {txtEMLFolder, picFrame,  K::Text,     u"", 660, 1980, 7095, 315, true, true},
    {cmdFindEML,   picFrame,  K::Button,   u"参照", 7920, 1980, 795, 315, true, true},
    {Label4,       picFrame,  K::Label,
     u"（指定されたフォルダに、「メール復元YYYYMMDDhhmmss」という名前のサブフォルダを作成します。）", 660, 2400, 7635, 255, true, true},
    {Label7,       picFrame,  K::Label,    u"３．オプション", 300, 2820, 3075, 255, true, true},
    {chkPointer,   picFrame,  K::Check,    u"ポインターの正当性チェックを行わない。(&P)", 660, 3120, 4035, 255, true, true},
    {Picture1,     None,      K::Panel,    nullptr, 0, 5220, 9390, 675, true, false},
    {lblProc,      Picture1,  K::Label,    kExtractingCaption, 180, 240, 540, 180, false, false},
    {prgStatus,    Picture1,  K::Progress, nullptr, 840, 180, 3795, 315, false, false},
    {lblPercent,   Picture1,  K::Label,    u"0%", 4920, 240, 180, 180, false, false},
    {lblStatus,    Picture1,  K::Label,    u"0通のメールを抽出", 5580, 240, 1455, 180, false, false},
    {lblMessage,   Picture1,  K::Label,    u"メッセージ", 180, 240, 675, 180, true, false},
    {cmdStart,     Picture1,  K::Button,   u"開始", 7800, 180, 1335, 315, true, true},
    {cmdStop,      Picture1,  K::Button,   u"停止", 7800, 180, 1335, 315, false, true},
    {lblRename,    Picture1,  K::Label,    kRenamingCaption, 180, 240, 630, 180, false, false},
};
// clang-format on

}  // namespace

std::span<const ControlDesign> MainWindowControls() { return kControls; }
