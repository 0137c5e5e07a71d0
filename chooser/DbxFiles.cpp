#include "chooser/DbxFiles.h"

#include <cmath>

namespace {

constexpr int kFirstCategory = 1;
constexpr int kLastCategory = 6;

}  // namespace

std::u16string FormatKilobytes(std::int64_t bytes) {
  // llround rounds halves away from zero.
  const long long kilobytes = std::llround(static_cast<double>(bytes) / 1024.0);
  const std::string digits = std::to_string(kilobytes < 0 ? -kilobytes : kilobytes);
  std::u16string text = kilobytes < 0 ? u"-" : u"";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += u',';
    text += static_cast<char16_t>(digits[i]);
  }
  return text + u"KB";
}

std::vector<DbxFileRow> GroupDbxFiles(const std::vector<DbxFileEntry>& listing) {
  std::vector<DbxFileRow> rows;
  for (int category = kFirstCategory; category <= kLastCategory; ++category) {
    for (const DbxFileEntry& entry : listing) {
      if (ClassifyDbxFile(entry.name) == category) rows.push_back({entry.name, category, FormatKilobytes(entry.bytes)});
    }
  }
  return rows;
}
