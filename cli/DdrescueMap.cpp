#include "cli/DdrescueMap.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

namespace cli {
namespace {

constexpr std::string_view kBlank = " \t\r";
constexpr std::string_view kBlockStatuses = "?*/-+";
// Beyond any disk, and far enough from overflow for pos + size.
constexpr std::int64_t kLargest = std::int64_t{1} << 60;

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  while (true) {
    const std::size_t begin = line.find_first_not_of(kBlank);
    if (begin == std::string_view::npos) return fields;
    line.remove_prefix(begin);
    const std::size_t end = std::min(line.find_first_of(kBlank), line.size());
    fields.push_back(line.substr(0, end));
    line.remove_prefix(end);
  }
}

std::optional<std::int64_t> Number(std::string_view field) {
  int base = 10;
  if (field.size() > 2 && field[0] == '0' && (field[1] == 'x' || field[1] == 'X')) {
    base = 16;
    field.remove_prefix(2);
  } else if (field.size() > 1 && field[0] == '0') {
    base = 8;
    field.remove_prefix(1);
  }
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value, base);
  if (error != std::errc() || end != field.data() + field.size() || value < 0 || value > kLargest) return std::nullopt;
  return value;
}

bool IsStatusLine(const std::vector<std::string_view>& fields) {
  return (fields.size() == 2 || (fields.size() == 3 && Number(fields[2]))) && Number(fields[0]) &&
         fields[1].size() == 1;
}

}  // namespace

DdrescueMap ParseDdrescueMap(std::string_view text) {
  DdrescueMap map;
  bool statusSeen = false;
  std::int64_t reached = 0;  // where the previous block ended
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    ++number;
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.empty() || fields[0].starts_with('#')) continue;
    if (!statusSeen) {
      statusSeen = IsStatusLine(fields);
      if (!statusSeen) return {{}, number};
      continue;
    }
    const std::optional<std::int64_t> pos = fields.size() == 3 ? Number(fields[0]) : std::nullopt;
    const std::optional<std::int64_t> size = fields.size() == 3 ? Number(fields[1]) : std::nullopt;
    if (!pos || !size || *pos < reached || fields[2].size() != 1 ||
        kBlockStatuses.find(fields[2][0]) == std::string_view::npos)
      return {{}, number};
    reached = *pos + *size;
    if (fields[2][0] != '+' && *size > 0) map.unreadable.push_back({*pos, *size});
  }
  // A text without a status line is no map: it would say nothing of the image.
  if (!statusSeen) return {{}, number + 1};
  return map;
}

}  // namespace cli
