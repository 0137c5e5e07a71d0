#include "engine/FreedRecoveryText.h"

#include "engine/RecoveryText.h"

std::u16string FreedCountSentence(std::int32_t count) {
  return u"削除済み領域から" + DecimalText(count) +
         u"通のメールを復元しました（512バイトごとに4バイトが失われています）。";
}
