#pragma once
// The run's user-visible texts.
#include <cstdint>
#include <string>

inline const std::u16string kStoreOpenFailedText = u"DBXファイルをオープンできませんでした。";
inline const std::u16string kFolderCreateFailedText = u"出力先フォルダの作成に失敗しました。";
inline const std::u16string kNothingFoundText = u"メールが見つかりませんでした。";
inline const std::u16string kOutputFolderPrefix = u"メール復元";
// The captions of lblProc and lblRename, which the run shows without setting them.
inline constexpr char16_t kExtractingCaption[] = u"抽出中";
inline constexpr char16_t kRenamingCaption[] = u"ﾘﾈｰﾑ中";

std::u16string DecimalText(std::int64_t value);
// N + "通のメールを抽出"
std::u16string ExtractedCountText(std::int32_t count);
// N + "通のメールが見つかりました。" + between + "出力先フォルダをExplorerで開きますか？"
std::u16string FoundCountQuestion(std::int32_t count, const std::u16string& between = {});
// The warning for a working file that could not be written; names the file and the reason.
std::u16string WriteFailedText(const std::u16string& path, const std::u16string& reason);

inline const std::u16string kRemovingDuplicatesText = u"重複データを削除しています。";

// R + "通のメールをリネーム"
std::u16string RenamedCountText(std::int32_t count);
