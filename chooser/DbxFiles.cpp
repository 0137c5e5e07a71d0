#include "chooser/DbxFiles.h"

#include <cmath>

namespace {

constexpr int kFirstCategory = 1;
constexpr int kLastCategory = 6;

// Only A-Z are lowered: the mail client names its special files in ASCII.
std::u16string LowerAscii(std::u16string_view text) {
  std::u16string lowered(text);
  for (char16_t& c : lowered) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return lowered;
}

struct Prefix {
  std::u16string_view text;
  int category;
};

constexpr Prefix kPrefixes[] = {
    {u"受信トレイ", 1}, {u"送信トレイ", 2}, {u"送信済みアイテム", 3}, {u"削除済みアイテム", 4}, {u"下書き", 5},
};

}  // namespace

int ClassifyDbxFile(std::u16string_view name) {
  const std::u16string lowered = LowerAscii(name);
  if (lowered == u"folders.dbx" || lowered == u"offline.dbx" || lowered == u"pop3uidl.dbx") return kNotListed;
  for (const Prefix& prefix : kPrefixes) {
    if (name.starts_with(prefix.text)) return prefix.category;
  }
  return std::u16string_view(lowered).starts_with(u"search folder") ? kNotListed : kLastCategory;
}

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
