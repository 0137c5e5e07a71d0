#pragma once
// The texts of the recovery of freed messages.
#include <string>

inline const std::u16string kFreedFolderName = u"削除済みメール";
inline const std::u16string kFreedReportName = u"復元レポート.tsv";
