#include "engine/runlist/RunListRow.h"

#include <algorithm>
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

void AppendRunListDate(std::string& out, const std::optional<MailDate>& date) {
  if (!date) return;
  const auto part = [&out](int value, int digits, char after) {
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    out.append(static_cast<std::size_t>(std::max<std::ptrdiff_t>(digits - (end - text), 0)), '0');
    out.append(text, end);
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
