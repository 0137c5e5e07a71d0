#include "engine/freed/FreedReport.h"

#include <cstdio>

#include "platform/Utf.h"

namespace {

std::string Hexadecimal(std::int64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%08llX", static_cast<unsigned long long>(value));
  return text;
}

std::string LostRanges(const std::vector<LostRange>& lost) {
  std::string text;
  for (const LostRange& range : lost) {
    if (!text.empty()) text += ',';
    text += std::to_string(range.begin) + '-' + std::to_string(range.end - 1);
  }
  return text;
}

}  // namespace

std::string FreedReportHeader() {
  // The mark lets spreadsheet programs on Japanese systems read the file as UTF-8.
  return "\xEF\xBB\xBF" +
         platform::ToUtf8(u"ファイル名\t先頭ブロックのオフセット\tブロック数\tバイト数\t状態\t失われたバイト") + "\r\n";
}

namespace {

std::string Row(const std::u16string& fileName, std::int64_t firstBlock, const std::string& blocks, std::size_t bytes,
                bool complete, const std::string& lost) {
  const std::u16string state = complete ? u"完全" : u"部分";
  return platform::ToUtf8(fileName) + '\t' + Hexadecimal(firstBlock - 1) + '\t' + blocks + '\t' +
         std::to_string(bytes) + '\t' + platform::ToUtf8(state) + '\t' + lost + "\r\n";
}

}  // namespace

std::string FreedReportRow(const std::u16string& fileName, const FreedMessage& message) {
  return Row(fileName, message.firstBlock, std::to_string(message.blocks), message.text.Bytes().size(),
             message.complete, LostRanges(message.text.Lost()));
}

std::string DeletedReportRow(const std::u16string& fileName, std::int64_t firstBlock, std::int64_t bytes, bool complete) {
  return Row(fileName, firstBlock, {}, static_cast<std::size_t>(bytes), complete, {});
}
