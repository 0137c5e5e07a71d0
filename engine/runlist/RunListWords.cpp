#include "engine/runlist/RunListWords.h"

#include <array>

namespace {

struct Words {
  std::u16string_view japanese;
  std::u16string_view english;
  std::u16string_view In(Language language) const { return language == Language::English ? english : japanese; }
};

// In RunListState order.
constexpr std::array<Words, 4> kStateWords = {{
    {u"一覧にある", u"listed"},
    {u"削除済み", u"deleted"},
    {u"解放領域", u"freed"},
    {u"見つからない", u"missing"},
}};

constexpr Words kComplete{u"完全", u"complete"};
constexpr Words kCutShort{u"部分", u"cut short"};

constexpr Words kHeader{u"ファイル\t状態\t完全/部分\t先頭ブロックのオフセット\tバイト数\t日付\t差出人\t件名",
                        u"File\tState\tComplete\tFirst block offset\tBytes\tDate\tFrom\tSubject"};

bool IsEither(const Words& words, std::u16string_view word) { return word == words.japanese || word == words.english; }

}  // namespace

std::u16string_view RunListStateWord(RunListState state, Language language) {
  return kStateWords[static_cast<std::size_t>(state)].In(language);
}

std::u16string_view CompletenessWord(bool complete, Language language) {
  return (complete ? kComplete : kCutShort).In(language);
}

std::optional<RunListState> RunListStateOfWord(std::u16string_view word) {
  for (std::size_t i = 0; i < kStateWords.size(); ++i) {
    if (IsEither(kStateWords[i], word)) return static_cast<RunListState>(i);
  }
  return std::nullopt;
}

std::optional<bool> CompletenessOfWord(std::u16string_view word) {
  if (IsEither(kComplete, word)) return true;
  if (IsEither(kCutShort, word)) return false;
  return std::nullopt;
}

std::u16string_view RunListHeaderText(Language language) { return kHeader.In(language); }
