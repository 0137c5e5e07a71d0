#pragma once
// Every text the command line shows of its own, in Japanese and in English, in one table; the run's
// messages and report come from the engine's table.
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "engine/Texts.h"

namespace cli {

enum class CliTextId {
  Description,
  UsageLabel,
  OptionsLabel,
  PositionalsHeading,
  OptionsHeading,
  RequiredLabel,
  HelpOption,
  VersionOption,
  OutputOption,
  FolderValueName,
  PointerCheckOption,
  NoFreedOption,
  NoIndexOption,
  QuietOption,
  StoresArgument,
  PathValueName,
  ExitStatusHeading,
  ExitCompletedMeaning,
  ExitUnexpectedMeaning,
  ExitUsageMeaning,
  ExitStoreOpenFailedMeaning,
  ExitFolderFailedMeaning,
  ExitWriteFailedMeaning,
  ExitInterruptedMeaning,
  ExitStatusOfBatch,
  MoreInformation,
  UnknownOption,
  StoreMissing,
  FolderNameMissing,
  FolderNameEmpty,
  WrongArguments,
  ArgumentNotUnicode,
  FolderUnreadable,
  FolderWithoutStores,
  Reason,
  BadMapOption,
  MapValueName,
  ExitUnreadableMeaning,
  BadMapUnreadable,
  BadMapMalformed,
  BadMapNeedsOneStore,
  UnreadableRange,
  UnreadableMore,
  ListOption,
  RunFolderValueName,
  DeletedOnlyOption,
  ListTakesNoStore,
  DeletedOnlyNeedsList,
  ExitListUnreadableMeaning,
  ListUnreadable,
  ListRowsSkipped,
  ListColumns,
};

// "%1", "%2" stand for the arguments of CliText.
struct CliTextEntry {
  CliTextId id;
  std::u16string_view japanese;
  std::u16string_view english;
};

// clang-format off
inline constexpr CliTextEntry kCliTextTable[] = {
    {CliTextId::Description,
     u"Outlook ExpressのDBXファイルから、削除したメッセージも含めてメールを取り出し、1通ごとに1つの.emlファイルとして、"
     u"新しいフォルダ「メール復元」+日時に書き出します。複数のストアを指定すると、ストアごとにその名前のフォルダを作って"
     u"書き出します。",
     u"Recovers the mail in Outlook Express DBX files, deleted messages included, into one .eml file per message, in a "
     u"new folder \"メール復元\" + date and time. With several stores, each store's mail goes into a folder of its own "
     u"in it, named after the store."},
    {CliTextId::UsageLabel, u"使い方", u"Usage"},
    {CliTextId::OptionsLabel, u"オプション", u"OPTIONS"},
    {CliTextId::PositionalsHeading, u"引数", u"Positionals"},
    {CliTextId::OptionsHeading, u"オプション", u"Options"},
    {CliTextId::RequiredLabel, u"必須", u"REQUIRED"},
    {CliTextId::HelpOption, u"このヘルプを表示して終了します", u"Print this help message and exit"},
    {CliTextId::VersionOption, u"バージョンを表示して終了します", u"Display program version information and exit"},
    {CliTextId::OutputOption, u"出力先フォルダを作るフォルダ（省略時はドキュメントフォルダ）",
     u"Folder in which the output folder is created (default: the documents folder)"},
    {CliTextId::FolderValueName, u"DIR", u"DIR"},  // lines up with the other options in either
    {CliTextId::PointerCheckOption, u"ポインターの正当性チェックを行いません。古いコピーのメッセージも見つかります",
     u"Skip the validity check of block pointers; also finds stale copies of messages"},
    {CliTextId::NoFreedOption,
     u"Outlook Expressが解放したブロックに残るメッセージを復元しません（復元したものはサブフォルダ「削除済みメール」に、"
     u"レポート「復元レポート.tsv」とともに書き出されます）",
     u"Do not recover the messages left in blocks that Outlook Express freed (written to the subfolder "
     u"\"削除済みメール\" with the report \"復元レポート.tsv\")"},
    {CliTextId::NoIndexOption,
     u"保存ファイルの索引を使いません。削除されたメールを分けず、一覧「復元一覧.tsv」も書きません",
     u"Ignore the store's own index: deleted mail is not written apart and no list \"復元一覧.tsv\" is written"},
    {CliTextId::QuietOption, u"進行状況を表示しません", u"Show no progress"},
    {CliTextId::StoresArgument,
     u"復元するDBXファイル、およびその直下の*.dbxすべてを意味するフォルダ（メールを保存しないFolders.dbxなどは"
     u"スキップします）。読み取るだけで書き換えません",
     u"The DBX files to recover from, and folders meaning every *.dbx directly in them (files that hold no mail, "
     u"such as Folders.dbx, are skipped); they are only read"},
    {CliTextId::PathValueName, u"パス", u"TEXT"},
    {CliTextId::ExitStatusHeading, u"終了ステータス:", u"Exit status:"},
    {CliTextId::ExitCompletedMeaning, u"最後まで実行した（メールが見つからなかった場合も含む）",
     u"the run completed, whether or not mail was found"},
    {CliTextId::ExitUnexpectedMeaning, u"内部エラー", u"an internal failure"},
    {CliTextId::ExitUsageMeaning, u"引数の誤り", u"wrong arguments"},
    {CliTextId::ExitStoreOpenFailedMeaning, u"DBXファイルを開けなかった、またはフォルダにDBXファイルがなかった",
     u"a DBX file could not be opened, or a folder held none"},
    {CliTextId::ExitFolderFailedMeaning, u"出力先フォルダを作成できなかった", u"the output folder could not be created"},
    {CliTextId::ExitWriteFailedMeaning, u"復元したメッセージを書き込めなかった（書き込んだものは残る）",
     u"a recovered message could not be written (what was written is kept)"},
    {CliTextId::ExitInterruptedMeaning, u"Ctrl-Cで中断した（SIGTERMとSIGHUPも同じ。それまでに復元したものは残る）",
     u"stopped by Ctrl-C (SIGTERM and SIGHUP alike; what was recovered so far is kept)"},
    {CliTextId::ExitStatusOfBatch, u"複数のストアでは、指定した順で最初に最後まで実行できなかったストアのステータス。",
     u"With several stores, the status of the first one that did not complete, in the order given."},
    {CliTextId::MoreInformation, u"詳しくは --help を付けて実行してください。", u"Run with --help for more information."},
    {CliTextId::UnknownOption, u"不明なオプションです: %1", u"Unknown option: %1"},
    {CliTextId::StoreMissing, u"DBXFILE|FOLDER を指定してください。", u"DBXFILE|FOLDER is required"},
    {CliTextId::FolderNameMissing, u"%1: フォルダ名がありません。", u"%1: the folder name is missing."},
    {CliTextId::FolderNameEmpty, u"%1: フォルダ名が空です。", u"%1: the folder name is empty."},
    {CliTextId::WrongArguments, u"引数が正しくありません: %1", u"Wrong arguments: %1"},
    {CliTextId::ArgumentNotUnicode, u"引数%1は正しいUnicodeテキストではありません。",
     u"Argument %1 is not valid Unicode text."},
    {CliTextId::FolderUnreadable, u"フォルダを読み込めませんでした。\r\n%1", u"The folder could not be read.\r\n%1"},
    {CliTextId::FolderWithoutStores, u"フォルダにDBXファイルがありません。\r\n%1", u"The folder holds no DBX file.\r\n%1"},
    {CliTextId::Reason, u"理由: %1", u"Reason: %1"},
    {CliTextId::BadMapOption,
     u"GNU ddrescueのマップファイル。完了（+）と記されていない範囲は読み取れないものとして扱い、その0をメールと取り違えません",
     u"GNU ddrescue map file of the image: every range it does not mark finished (+) is treated as unreadable, so "
     u"that the zeros ddrescue wrote there are never taken for mail"},
    {CliTextId::MapValueName, u"MAPFILE", u"MAPFILE"},
    {CliTextId::ExitUnreadableMeaning, u"最後まで実行したが、DBXファイルに読み取れない箇所があった",
     u"the run completed, but parts of a store could not be read"},
    {CliTextId::BadMapUnreadable, u"--bad-map: マップファイルを読み込めませんでした: %1",
     u"--bad-map: the map file could not be read: %1"},
    {CliTextId::BadMapMalformed, u"--bad-map: %2行目がddrescueのマップファイルの形式ではありません: %1",
     u"--bad-map: line %2 is not in the form of a ddrescue map file: %1"},
    {CliTextId::BadMapNeedsOneStore, u"--bad-map はDBXファイルを1つだけ指定したときに使えます。",
     u"--bad-map needs exactly one DBXFILE: a map describes one image."},
    {CliTextId::UnreadableRange, u"読み取れない箇所: %1から%2バイト", u"Unreadable: %2 bytes at %1"},
    {CliTextId::UnreadableMore, u"ほかに読み取れない箇所が%1箇所あります。", u"Unreadable: %1 more ranges."},
    {CliTextId::ListOption,
     u"復元はせず、以前に書き出したフォルダの復元一覧（復元一覧.tsv）を表にして表示します（DBXファイルは指定しません）",
     u"Recover nothing: print the list of a run folder written before (its 復元一覧.tsv) as a table (give no DBX file)"},
    {CliTextId::RunFolderValueName, u"RUNFOLDER", u"RUNFOLDER"},
    {CliTextId::DeletedOnlyOption, u"--list で、削除されたメール（削除済みと解放領域）だけを表示します",
     u"With --list, show only the deleted mail (deleted and freed)"},
    {CliTextId::ListTakesNoStore, u"--list にはDBXファイルを指定できません。", u"--list takes no DBX file."},
    {CliTextId::DeletedOnlyNeedsList, u"--deleted-only は --list と一緒に指定してください。",
     u"--deleted-only goes with --list."},
    {CliTextId::ExitListUnreadableMeaning, u"--list: 復元一覧を読み込めなかった",
     u"--list: the run's list could not be read"},
    {CliTextId::ListUnreadable, u"復元一覧を読み込めませんでした: %1", u"The run's list could not be read: %1"},
    {CliTextId::ListRowsSkipped, u"復元一覧のうち%1行は読み取れなかったため、表示していません。",
     u"Rows of the list that could not be read and are not shown: %1"},
    {CliTextId::ListColumns, u"状態\t日付\t差出人\t件名\tファイル", u"State\tDate\tFrom\tSubject\tFile"},
};
// clang-format on

// The whole table, in CliTextId order.
std::span<const CliTextEntry> AllCliTexts();

// The entry in the language, with "%1", "%2"... replaced by the arguments in order.
std::u16string CliText(CliTextId id, Language language, std::initializer_list<std::u16string_view> args = {});

// The same as UTF-8, for the argument parser.
std::string CliTextUtf8(CliTextId id, Language language, std::initializer_list<std::u16string_view> args = {});

// The language the user reads: Japanese under a Japanese locale or UI language, English otherwise.
Language UserLanguage();

}  // namespace cli
