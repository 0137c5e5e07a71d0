#pragma once
// GNU ddrescue map files: which parts of an image ddrescue rescued. Where it did not, the image holds
// zeros or older bytes, which must not be taken for mail.
#include <string_view>
#include <vector>

#include "platform/ByteRange.h"

namespace cli {

struct DdrescueMap {
  std::vector<platform::ByteRange> unreadable;  // every block not marked finished ('+'), in map order
  int malformedLine = 0;  // the first line that is no map line, 1-based; 0 when the map is sound
};

// Comments ('#') and blank lines aside, a map is a status line "pos status [pass]" followed by block
// lines "pos size status", blocks ascending and not overlapping. Numbers are hexadecimal with 0x,
// octal with a leading 0, or decimal, as ddrescue reads them.
DdrescueMap ParseDdrescueMap(std::string_view text);

}  // namespace cli
