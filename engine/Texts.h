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
  Unreadable,
  RetriesStopped,
  OtherOutlookFile,
  SkippedStore,
  StorePlace,
  BatchStoreLine,
  BatchTotals,
  BatchStoreNotStarted,
  BatchRestWithoutMail,
  AllFoldersOption,
  DbxFileCount,
  OnlyDbxFiles,
  OneFolderAlone,
  WrittenOfFound,
  FlushFailed,
  FreedWrittenOfFound,
  FileLeftBehind,
  MayNotBeOnDisk,
  DeletedCount,
  MissingOfListed,
  IndexNotWhole,
  IndexListsNone,
  BatchIndexCounts,
  FolderListUnreadable,
  ResultsHint,
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
    {TextId::Unreadable, u"読み取れない箇所が%1箇所（合計%2 KB）ありました。",
     u"Unreadable ranges in the store: %1 (%2 KB in all)."},
    {TextId::RetriesStopped, u"読み取れない箇所の再試行は中断したため、残りは試していません。",
     u"The retries around unreadable places were stopped; the rest was not tried."},
    {TextId::OtherOutlookFile, u"Outlook Expressのメール以外のファイル（フォルダ一覧など）です。",
     u"This is an Outlook Express file that holds no mail (such as the folder list)."},
    {TextId::SkippedStore, u"%1: メールを保存するファイルではないため、スキップしました。",
     u"%1: skipped, as it is not a file that holds mail."},
    {TextId::StorePlace, u"%1 (%2/%3)", u"%1 (%2/%3)"},
    {TextId::BatchStoreLine, u"%1: %2通、削除済み領域から%3通、途中で切れたもの%4通、読めない箇所%5か所",
     u"%1: %2 messages, %3 from freed space, %4 cut short, %5 unreadable places"},
    {TextId::BatchTotals, u"合計: %1通、削除済み領域から%2通、途中で切れたもの%3通、読めない箇所%4か所",
     u"Total: %1 messages, %2 from freed space, %3 cut short, %4 unreadable places"},
    {TextId::BatchStoreNotStarted, u"%1: 開始しませんでした。", u"%1: not started."},
    {TextId::BatchRestWithoutMail, u"ほかの%1個のファイルからはメールが見つかりませんでした。",
     u"No mail was found in the other %1 files."},
    {TextId::AllFoldersOption, u"すべてのフォルダ（DBXファイル）をまとめて復元(&A)",
     u"Recover &all folders (DBX files) at once"},
    {TextId::DbxFileCount, u"%1個のDBXファイル", u"%1 DBX files"},
    {TextId::OnlyDbxFiles, u"DBXファイル以外のファイルは指定できません。\r\n%1", u"Only DBX files can be given.\r\n%1"},
    {TextId::OneFolderAlone, u"フォルダは1つだけ、ほかのファイルと一緒にせずに指定してください。",
     u"Give one folder alone, without other files or folders."},
    {TextId::WrittenOfFound, u"%1通のうち%2通を書き出しました。", u"Written: %2 of %1."},
    {TextId::FlushFailed,
     u"書き出したファイルをディスクに書き込めませんでした。\r\n%1\r\n%2",
     u"The files written could not be put on the disk.\r\n%1\r\n%2"},
    {TextId::FreedWrittenOfFound, u"削除済み領域の%1通のうち%2通を書き出しました。", u"Written from freed space: %2 of %1."},
    {TextId::FileLeftBehind, u"書き出しを中止したファイルを削除できませんでした。\r\n%1",
     u"The file whose writing was stopped could not be removed.\r\n%1"},
    {TextId::MayNotBeOnDisk, u"書き出したファイルはディスクに保存されていない可能性があります。",
     u"The files written may not be on the disk."},
    {TextId::DeletedCount, u"うち%1通は削除されたメールとして「削除済みメール」に分けて書き出しました。",
     u"Deleted mail written apart into 削除済みメール: %1 of them."},
    {TextId::MissingOfListed, u"Outlook Expressの一覧にある%1通のうち%2通は見つかりませんでした。",
     u"%2 of the %1 messages the store lists were not found."},
    {TextId::IndexNotWhole, u"Outlook Expressのメール一覧を読み取れなかったため、削除されたメールを分けていません。",
     u"The store's message list could not be read, so deleted mail is not kept apart."},
    {TextId::IndexListsNone,
     u"Outlook Expressの一覧にメールがないため、見つかったメールはすべて削除されたメールとして書き出しました。",
     u"The store lists no mail, so every message found was written as deleted mail."},
    {TextId::BatchIndexCounts, u"削除されたメール%1通、一覧にあって見つからないもの%2通",
     u"%1 deleted, %2 listed but not found"},
    {TextId::FolderListUnreadable,
     u"Outlook Expressのフォルダ一覧（Folders.dbx）を読み取れなかったため、フォルダはDBXファイルの名前で作りました。",
     u"The folder list (Folders.dbx) could not be read, so the folders are named after their DBX files."},
    {TextId::ResultsHint, u"見つかったメールは［結果一覧］で確かめられます。", u"Use Results to look through the mail found."},
};
// clang-format on

// The whole table, in TextId order.
std::span<const TextEntry> AllTexts();

constexpr std::u16string_view JapaneseText(TextId id) { return kTextTable[static_cast<std::size_t>(id)].japanese; }
constexpr std::u16string_view EnglishText(TextId id) { return kTextTable[static_cast<std::size_t>(id)].english; }

// `pattern` with "%1", "%2"... replaced by the arguments in order; front ends fill their own texts with it.
std::u16string FillIn(std::u16string_view pattern, std::initializer_list<std::u16string_view> args);

// The entry in the language, with "%1", "%2"... replaced by the arguments in order.
std::u16string Text(TextId id, Language language, std::initializer_list<std::u16string_view> args = {});

// The captions of lblProc and lblRename at rest, which the run shows without setting them.
inline constexpr const char16_t* kExtractingCaption = JapaneseText(TextId::ExtractingCaption).data();
inline constexpr const char16_t* kRenamingCaption = JapaneseText(TextId::RenamingCaption).data();
