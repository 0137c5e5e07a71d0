#pragma once
// Every text the engine shows its user, in Japanese and in English, in one table.
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

enum class Language { Japanese, English };

enum class TextId {
  StoreOpenFailed,
  NotRegularFile,
  FolderCreateFailed,
  NothingFound,
  ExtractingCaption,
  RenamingCaption,
  ExtractedCount,
  FoundCount,
  OpenFolderQuestion,
  WriteFailed,
  RemovingDuplicates,
  RenamedCount,
  Stopped,
  CutShort,
  PointerHint,
  MissingSignature,
  FreedCount,
  WrittenOfFound,
  FlushFailed,
  MayNotBeOnDisk,
};

// "%1", "%2" stand for the arguments of Text: counts, paths and reasons.
struct TextEntry {
  TextId id;
  std::u16string_view japanese;
  std::u16string_view english;
};

// clang-format off
inline constexpr TextEntry kTextTable[] = {
    {TextId::StoreOpenFailed, u"DBXファイルをオープンできませんでした。", u"The DBX file could not be opened."},
    {TextId::NotRegularFile, u"通常のファイルではないため、DBXファイルとして読めません。\r\n%1",
     u"This is not a regular file, so it cannot be read as a DBX file.\r\n%1"},
    {TextId::FolderCreateFailed, u"出力先フォルダの作成に失敗しました。", u"The output folder could not be created."},
    {TextId::NothingFound, u"メールが見つかりませんでした。", u"No mail was found."},
    {TextId::ExtractingCaption, u"抽出中", u"Extracting"},
    {TextId::RenamingCaption, u"ﾘﾈｰﾑ中", u"Renaming"},
    {TextId::ExtractedCount, u"%1通のメールを抽出", u"Messages extracted: %1"},
    {TextId::FoundCount, u"%1通のメールが見つかりました。", u"Messages found: %1."},
    {TextId::OpenFolderQuestion, u"出力先フォルダをExplorerで開きますか？", u"Open the output folder in Explorer?"},
    {TextId::WriteFailed,
     u"メールファイルを書き出せなかったため、書き出しを中止しました。それまでに書き出したメールは残っています。\r\n%1\r\n%2",
     u"Writing stopped because a mail file could not be written. The mail written before that is kept.\r\n%1\r\n%2"},
    {TextId::RemovingDuplicates, u"重複データを削除しています。", u"Removing duplicate data."},
    {TextId::RenamedCount, u"%1通のメールをリネーム", u"Messages written: %1"},
    {TextId::Stopped, u"中断しました。", u"The run was stopped."},
    {TextId::CutShort, u"うち%1通は途中で切れています。", u"Cut short: %1 of them."},
    {TextId::PointerHint, u"「ポインターの正当性チェックを行わない」をオンにすると、さらに見つかる可能性があります。",
     u"Turning on \"Skip the validity check of block pointers\" may find more."},
    {TextId::MissingSignature, u"DBXファイルの署名がありません（破損しているか、DBXファイルではありません）。",
     u"The file lacks the DBX signature (it is damaged or not a DBX file)."},
    {TextId::FreedCount, u"削除済み領域から%1通のメールを復元しました（512バイトごとに4バイトが失われています）。",
     u"Messages recovered from freed space: %1 (4 bytes of every 512 are lost)."},
    {TextId::WrittenOfFound, u"%1通のうち%2通を書き出しました。", u"Written: %2 of %1."},
    {TextId::FlushFailed,
     u"書き出したファイルをディスクに書き込めませんでした。\r\n%1\r\n%2",
     u"The files written could not be put on the disk.\r\n%1\r\n%2"},
    {TextId::MayNotBeOnDisk, u"書き出したファイルはディスクに保存されていない可能性があります。",
     u"The files written may not be on the disk."},
};
// clang-format on

// The whole table, in TextId order.
std::span<const TextEntry> AllTexts();

constexpr std::u16string_view JapaneseText(TextId id) { return kTextTable[static_cast<std::size_t>(id)].japanese; }

// `pattern` with "%1", "%2"... replaced by the arguments in order; front ends fill their own texts with it.
std::u16string FillIn(std::u16string_view pattern, std::initializer_list<std::u16string_view> args);

// The entry in the language, with "%1", "%2"... replaced by the arguments in order.
std::u16string Text(TextId id, Language language, std::initializer_list<std::u16string_view> args = {});

// The captions of lblProc and lblRename at rest, which the run shows without setting them.
inline constexpr const char16_t* kExtractingCaption = JapaneseText(TextId::ExtractingCaption).data();
inline constexpr const char16_t* kRenamingCaption = JapaneseText(TextId::RenamingCaption).data();
