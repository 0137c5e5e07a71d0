#pragma once
// The words of the run's list, in Japanese and English: its header and the states of its rows.
#include <optional>
#include <string_view>

#include "engine/Texts.h"
#include "engine/runlist/RunListRow.h"

// 一覧にある / listed, 削除済み / deleted, 解放領域 / freed, 見つからない / missing.
std::u16string_view RunListStateWord(RunListState state, Language language);
// 完全 / complete, 部分 / cut short, as the freed report says.
std::u16string_view CompletenessWord(bool complete, Language language);

// The words back, in either language.
std::optional<RunListState> RunListStateOfWord(std::u16string_view word);
std::optional<bool> CompletenessOfWord(std::u16string_view word);

// The header row's columns, tab-separated, without line end.
std::u16string_view RunListHeaderText(Language language);
