#pragma once
// Every text the desktop program's windows show, in Japanese and in English, in one table: captions,
// menus, tooltips, hints and message boxes. The run's own texts (status bar, report) are in engine/Texts.h.
//
// To add a text: add its name to WindowText and its row to kWindowTexts at the same place (the order is
// checked when compiling), then show it with Text(WindowText::Name, language).
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "engine/Texts.h"

// Where a text is shown. Access keys ("&" before a letter) are unique within one place in each language.
enum class TextPlace { MainWindow, MenuBar, FileMenu, HelpMenu, Chooser, About, Message, Results, ResultsMenu };

enum class WindowText {
  None,
  Maker,
  Header,
  StepStore,
  InboxOwner,
  Inbox,
  StoreBelow,
  AllFolders,
  Browse,
  StepOutput,
  OutputNote,
  StepOptions,
  SkipPointerCheck,
  RecoverFreed,
  Extracting,
  Renaming,
  Percent0,
  ExtractedNone,
  MessageDesign,
  Start,
  Stop,
  StoreHint,
  OutputHint,
  PointerTip,
  FreedTip,
  MenuFile,
  MenuExit,
  MenuHelp,
  MenuHelpTopics,
  MenuAbout,
  StopQuestion,
  QuitQuestion,
  UnexpectedFailure,
  OneStoreOnly,
  StoreMissing,
  ChooseFolder,
  ChooserCaption,
  ChooserIntro,
  ChooserUser,
  ChooserFiles,
  Ok,
  Cancel,
  OpenFile,
  ColumnName,
  ColumnSize,
  FilterDbx,
  FilterAll,
  ProductName,
  Copyright,
  SystemInformation,
  VersionLine,
  AboutDescription,
  ApplicationInformation,
  ResultsButton,
  MenuResults,
  ResultsCaption,
  ResultsShowLabel,
  ResultsAll,
  ResultsDeletedOnly,
  ResultsMissing,
  ResultsSearchLabel,
  ResultsListLabel,
  ColumnState,
  ColumnDate,
  ColumnFrom,
  ColumnSubject,
  ColumnBytes,
  ColumnFolder,
  StateCutShort,
  ResultsShown,
  PreviewLabel,
  Close,
  MenuOpen,
  MenuShowInFolder,
  MenuCopySubject,
  NoProgramForEml,
  OpenFailed,
};

// "%1", "%2" stand for the arguments of Text.
struct WindowTextEntry {
  WindowText id;
  TextPlace place;
  std::u16string_view japanese;
  std::u16string_view english;
};

// clang-format off
inline constexpr WindowTextEntry kWindowTexts[] = {
    {WindowText::None, TextPlace::MainWindow, u"", u""},
    // The main window.
    {WindowText::Maker, TextPlace::MainWindow, u"Tessaly", u"Tessaly"},
    {WindowText::Header, TextPlace::MainWindow, u"Outlook Expre\uFF53\uFF53 で消えてしまったメールデータをDBXファイルから抽出します。",
     u"Extracts mail lost in Outlook Express from its DBX files."},
    {WindowText::StepStore, TextPlace::MainWindow, u"１．DBXファイルを指定してください。", u"1. Choose the DBX file."},
    {WindowText::InboxOwner, TextPlace::MainWindow, u"%1の", u"%1's "},
    {WindowText::Inbox, TextPlace::MainWindow, u"受信トレイ(&R)", u"&Inbox"},
    {WindowText::StoreBelow, TextPlace::MainWindow, u"以下に指定するフォルダ（DBXファイル）(&F)", u"The DBX file given &below"},
    {WindowText::AllFolders, TextPlace::MainWindow, JapaneseText(TextId::AllFoldersOption), EnglishText(TextId::AllFoldersOption)},
    {WindowText::Browse, TextPlace::MainWindow, u"参照", u"Browse"},
    {WindowText::StepOutput, TextPlace::MainWindow, u"２．EMLファイルの出力先のフォルダを指定してください。(&E)",
     u"2. Choose the &output folder for the EML files."},
    {WindowText::OutputNote, TextPlace::MainWindow,
     u"（指定されたフォルダに、「メール復元YYYYMMDDhhmmss」という名前のサブフォルダを作成します。）",
     u"(A subfolder named メール復元YYYYMMDDhhmmss is made in that folder.)"},
    {WindowText::StepOptions, TextPlace::MainWindow, u"３．オプション", u"3. Options"},
    {WindowText::SkipPointerCheck, TextPlace::MainWindow, u"ポインターの正当性チェックを行わない。(&P)",
     u"Skip the validity check of block &pointers"},
    {WindowText::RecoverFreed, TextPlace::MainWindow, u"削除済み領域のメールも復元する(&D)",
     u"Also recover &deleted mail from freed space"},
    {WindowText::Extracting, TextPlace::MainWindow, JapaneseText(TextId::ExtractingCaption), EnglishText(TextId::ExtractingCaption)},
    {WindowText::Renaming, TextPlace::MainWindow, JapaneseText(TextId::RenamingCaption), EnglishText(TextId::RenamingCaption)},
    {WindowText::Percent0, TextPlace::MainWindow, u"0%", u"0%"},
    {WindowText::ExtractedNone, TextPlace::MainWindow, u"0通のメールを抽出", u"Messages extracted: 0"},
    {WindowText::MessageDesign, TextPlace::MainWindow, u"メッセージ", u"Message"},
    {WindowText::Start, TextPlace::MainWindow, u"開始", u"Start"},
    {WindowText::Stop, TextPlace::MainWindow, u"停止", u"Stop"},
    {WindowText::StoreHint, TextPlace::MainWindow, u"DBXファイルを指定します。", u"Name the DBX file to recover from."},
    {WindowText::OutputHint, TextPlace::MainWindow, u"EMLファイルの出力先を指定します。", u"Name the folder the EML files go to."},
    {WindowText::PointerTip, TextPlace::MainWindow,
     u"ブロックの位置を示すポインターを確かめずに、メールをたどります。\r\n"
     u"ディスクイメージから切り出したDBXファイルや、ずれた位置からコピーされたDBXファイルで、メールが見つからないときに使います。",
     u"Follows the mail without checking the pointers that give the position of each block.\r\n"
     u"Use it when no mail is found in a DBX file cut out of a disk image or copied from a shifted position."},
    {WindowText::FreedTip, TextPlace::MainWindow,
     u"Outlook Expressが解放した領域に残るメールも、「削除済みメール」フォルダに復元します。\r\n"
     u"完全に削除したメールが戻ることがありますが、512バイトごとに4バイトが失われ「????」になります。",
     u"Also recovers the mail left in space Outlook Express has freed, into the folder \"削除済みメール\".\r\n"
     u"Mail deleted for good may come back, but 4 bytes of every 512 are lost and show as \"????\"."},
    // The main window's menus.
    {WindowText::MenuFile, TextPlace::MenuBar, u"ファイル(&F)", u"&File"},
    {WindowText::MenuExit, TextPlace::FileMenu, u"終了(&X)", u"E&xit"},
    {WindowText::MenuHelp, TextPlace::MenuBar, u"ヘルプ(&H)", u"&Help"},
    {WindowText::MenuHelpTopics, TextPlace::HelpMenu, u"トピックの検索(&H)...", u"&Help Topics..."},
    {WindowText::MenuAbout, TextPlace::HelpMenu, u"バージョン情報(&A)...", u"&About Palvenor..."},
    // Message boxes and the folder browser.
    {WindowText::StopQuestion, TextPlace::Message, u"停止しますか?", u"Stop the recovery?"},
    {WindowText::QuitQuestion, TextPlace::Message, u"終了しますか?", u"Quit Palvenor?"},
    {WindowText::UnexpectedFailure, TextPlace::Message, u"復元中に予期しないエラーが発生しました。",
     u"An unexpected error occurred during the recovery."},
    {WindowText::OneStoreOnly, TextPlace::Message, u"DBXファイルを1つだけ指定してください。", u"Name exactly one DBX file."},
    {WindowText::StoreMissing, TextPlace::Message, u"DBXファイルが見つかりません。\r\n%1", u"The DBX file was not found.\r\n%1"},
    {WindowText::ChooseFolder, TextPlace::Message, u"フォルダを選択してください", u"Select a folder"},
    // The DBX chooser.
    {WindowText::ChooserCaption, TextPlace::Chooser, u"DBXファイルを検索", u"Find a DBX File"},
    {WindowText::ChooserIntro, TextPlace::Chooser, u"Outlook Express のメッセージファイルを指定します。",
     u"Choose an Outlook Express message file."},
    {WindowText::ChooserUser, TextPlace::Chooser, u"ユーザ(&U):", u"&User:"},
    {WindowText::ChooserFiles, TextPlace::Chooser, u"DBXファイル(&D):", u"&DBX file:"},
    {WindowText::Ok, TextPlace::Chooser, u"OK", u"OK"},
    {WindowText::Cancel, TextPlace::Chooser, u"キャンセル", u"Cancel"},
    {WindowText::OpenFile, TextPlace::Chooser, u"ファイルを開く", u"Open File..."},
    {WindowText::ColumnName, TextPlace::Chooser, u"DBXファイル名", u"DBX file name"},
    {WindowText::ColumnSize, TextPlace::Chooser, u"サイズ", u"Size"},
    {WindowText::FilterDbx, TextPlace::Chooser, u"DBXファイル (*.dbx)", u"DBX files (*.dbx)"},
    {WindowText::FilterAll, TextPlace::Chooser, u"すべてのファイル", u"All files"},
    // The About window.
    {WindowText::ProductName, TextPlace::About, u"Palvenor", u"Palvenor"},
    {WindowText::Copyright, TextPlace::About, u"Copyright \u00A9 Tessaly. All rights reserved.",
     u"Copyright \u00A9 Tessaly. All rights reserved."},
    {WindowText::SystemInformation, TextPlace::About, u"%1 システム情報：", u"%1 system information:"},
    {WindowText::VersionLine, TextPlace::About, u"\u3000%1 のバージョン： %2", u"%1 version %2"},
    {WindowText::AboutDescription, TextPlace::About,
     u"%1\r\n\r\n\u3000Outlook Expree で消えてしまったメールデータをDBXファイルから抽出します。\r\n\r\n\u3000\r\n\r\n"
     u"\u3000このプログラムは C++ で書かれ、MinGW-w64 の GCC でビルドされています。",
     u"%1\r\n\r\nExtracts mail lost in Outlook Express from its DBX files.\r\n\r\n"
     u"This program is written in C++ and built with the GCC of MinGW-w64."},
    {WindowText::ApplicationInformation, TextPlace::About, u"アプリケーション情報", u"Application information"},
    // The main window's way to the results, beside Start and in the File menu.
    {WindowText::ResultsButton, TextPlace::MainWindow, u"結果一覧(&L)", u"Results(&L)"},
    {WindowText::MenuResults, TextPlace::FileMenu, u"結果一覧(&L)", u"Results(&L)"},
    // The results window.
    {WindowText::ResultsCaption, TextPlace::Results, u"結果一覧", u"Results"},
    {WindowText::ResultsShowLabel, TextPlace::Results, u"表示(&V):", u"&View:"},
    {WindowText::ResultsAll, TextPlace::Results, u"すべて", u"All"},
    {WindowText::ResultsDeletedOnly, TextPlace::Results, u"削除されたメールだけ", u"Deleted only"},
    {WindowText::ResultsMissing, TextPlace::Results, u"見つからなかったメール", u"Missing"},
    {WindowText::ResultsSearchLabel, TextPlace::Results, u"件名・差出人で検索(&S):", u"&Search subject and sender:"},
    {WindowText::ResultsListLabel, TextPlace::Results, u"メール(&M):", u"&Mail:"},
    {WindowText::ColumnState, TextPlace::Results, u"状態", u"State"},
    {WindowText::ColumnDate, TextPlace::Results, u"日付", u"Date"},
    {WindowText::ColumnFrom, TextPlace::Results, u"差出人", u"From"},
    {WindowText::ColumnSubject, TextPlace::Results, u"件名", u"Subject"},
    {WindowText::ColumnBytes, TextPlace::Results, u"大きさ", u"Size"},
    {WindowText::ColumnFolder, TextPlace::Results, u"フォルダ", u"Folder"},
    {WindowText::StateCutShort, TextPlace::Results, u"%1（%2）", u"%1, %2"},
    {WindowText::ResultsShown, TextPlace::Results, u"%2通のうち%1通を表示しています。", u"Showing %1 of %2 messages."},
    {WindowText::PreviewLabel, TextPlace::Results, u"プレビュー(&P):", u"&Preview:"},
    {WindowText::Close, TextPlace::Results, u"閉じる", u"Close"},
    {WindowText::MenuOpen, TextPlace::ResultsMenu, u"開く(&O)", u"&Open"},
    {WindowText::MenuShowInFolder, TextPlace::ResultsMenu, u"フォルダに表示(&F)", u"Show in &folder"},
    {WindowText::MenuCopySubject, TextPlace::ResultsMenu, u"件名をコピー(&C)", u"&Copy subject"},
    {WindowText::NoProgramForEml, TextPlace::Results, u"EMLファイルを開くプログラムが登録されていません。",
     u"No program is registered to open EML files."},
    {WindowText::OpenFailed, TextPlace::Results, u"ファイルを開けませんでした。", u"The file could not be opened."},
};
// clang-format on

consteval bool InWindowTextOrder() {
  for (std::size_t i = 0; i < std::size(kWindowTexts); ++i) {
    if (static_cast<std::size_t>(kWindowTexts[i].id) != i) return false;
  }
  return true;
}
static_assert(InWindowTextOrder(), "kWindowTexts lists its rows in WindowText order");

// The whole table, in WindowText order.
std::span<const WindowTextEntry> AllWindowTexts();

// The entry in the language, with "%1", "%2"... replaced by the arguments in order.
std::u16string Text(WindowText id, Language language, std::initializer_list<std::u16string_view> args = {});

// The access key of a caption, the letter after its "&" in upper case ("&&" is a plain ampersand);
// 0 when it has none.
char16_t AccessKey(std::u16string_view caption);

// Text shown as it is on a control that reads "&" as the access-key mark, such as a user's name.
std::u16string WithPlainAmpersands(std::u16string_view text);
