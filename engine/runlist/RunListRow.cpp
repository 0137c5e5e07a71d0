#include "engine/runlist/RunListRow.h"

#include <charconv>

#include "engine/freed/FreedRecoveryText.h"
#include "platform/Files.h"

namespace {

// The list is read on either system, so both separators part its paths.
bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

}  // namespace

std::u16string_view StoreFolderOf(const RunListRow& row) {
  std::u16string_view folder = row.path;
  const auto lastOf = [](std::u16string_view path) {
    std::size_t i = path.size();
    while (i > 0 && !IsSeparator(path[i - 1])) --i;
    return i;  // just past the last separator, 0 when there is none
  };
  std::size_t end = lastOf(folder);
  folder = folder.substr(0, end == 0 ? 0 : end - 1);
  // A store's deleted mail lies in a folder of its own below the store's.
  end = lastOf(folder);
  if (folder.substr(end) == kFreedFolderName) folder = folder.substr(0, end == 0 ? 0 : end - 1);
  return folder;
}

std::u16string RunListFilePath(const std::u16string& runFolder, const RunListRow& row) {
  std::u16string path = runFolder + platform::kPathSeparator + row.path;
  for (char16_t& c : path) {
    if (IsSeparator(c)) c = platform::kPathSeparator;
  }
  return path;
}

void AppendRunListNumber(std::string& out, std::int64_t value, int base, std::size_t leastDigits) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<std::uint64_t>(value), base).ptr;
  const auto count = static_cast<std::size_t>(end - digits);
  if (count < leastDigits) out.append(leastDigits - count, '0');
  for (char* digit = digits; digit != end; ++digit)
    if (*digit >= 'a') *digit = static_cast<char>(*digit - 'a' + 'A');
  out.append(digits, count);
}

void AppendRunListDate(std::string& out, const std::optional<MailDate>& date) {
  if (!date) return;
  const auto part = [&out](int value, std::size_t digits, char after) {
    AppendRunListNumber(out, value, 10, digits);
    if (after != 0) out += after;
  };
  part(date->year, 4, '/');
  part(date->month, 2, '/');
  part(date->day, 2, ' ');
  part(date->hour, 2, ':');
  part(date->minute, 2, ':');
  part(date->second, 2, 0);
}

std::u16string RunListDateText(const std::optional<MailDate>& date) {
  std::string text;
  AppendRunListDate(text, date);
  return std::u16string(text.begin(), text.end());
}
