#include "engine/naming/NameKey.h"

#include <algorithm>

#include "engine/naming/UpperCaseTable.h"

char16_t SimpleUpperCase(char16_t c) {
  if (c < 0x80) return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
  const std::span<const UpperCaseRun> runs = UpperCaseRuns();
  const auto run = std::upper_bound(runs.begin(), runs.end(), c,
                                    [](char16_t unit, const UpperCaseRun& r) { return unit < r.first; });
  if (run == runs.begin()) return c;
  const UpperCaseRun& found = *(run - 1);
  if (c > found.last || (c - found.first) % found.step != 0) return c;
  return static_cast<char16_t>(c + found.delta);
}

std::u16string NameKey(std::u16string_view name) {
  std::u16string key(name);
  for (char16_t& c : key) c = SimpleUpperCase(c);
  return key;
}
