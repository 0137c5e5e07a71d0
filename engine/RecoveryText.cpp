#include "engine/RecoveryText.h"

std::u16string DecimalText(std::int64_t value) {
  std::u16string text;
  for (const char c : std::to_string(value)) text += static_cast<char16_t>(c);
  return text;
}

std::u16string ExtractedCountText(std::int32_t count) { return DecimalText(count) + u"通のメールを抽出"; }

std::u16string FoundCountQuestion(std::int32_t count, const std::u16string& between) {
  return DecimalText(count) + u"通のメールが見つかりました。" + between + u"出力先フォルダをExplorerで開きますか？";
}

std::u16string WriteFailedText(const std::u16string& path, const std::u16string& reason) {
  return u"メールファイルに書き込めなかったため、抽出を中止しました。それまでに抽出したメールは残っています。\r\n" + path +
         u"\r\n" + reason;
}

std::u16string RenamedCountText(std::int32_t count) { return DecimalText(count) + u"通のメールをリネーム"; }
