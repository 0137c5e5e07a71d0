#pragma once
// The texts of the recovery of freed messages.
#include <cstdint>
#include <string>

inline const std::u16string kFreedFolderName = u"削除済みメール";
inline const std::u16string kFreedReportName = u"復元レポート.tsv";

// "削除済み領域から" + M + "通のメールを復元しました（512バイトごとに4バイトが失われています）。"
std::u16string FreedCountSentence(std::int32_t count);
