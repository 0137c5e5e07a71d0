#include "cli/DdrescueMap.h"

#include <gtest/gtest.h>

namespace {

struct MapCase {
  const char* text;
  std::vector<platform::ByteRange> unreadable;
  int malformedLine;
};

TEST(ParseDdrescueMap, TakesEveryBlockNotFinishedAsUnreadableAndNamesTheFirstBadLine) {
  const MapCase cases[] = {
      {"# Mapfile. Created by GNU ddrescue version 1.27\n# current_pos  current_status  current_pass\n"
       "0x00120000     +               1\n#      pos        size  status\n0x00000000  0x00001000  +\n0x00001000  0x00000200  -\n"
       "0x00001200  0x00000E00  +\n0x00002000  0x00010000  ?\n0x00012000  0x00000400  *\n"
       "0x00012400  0x00000200  /\n0x00012600  0x0000DA00  +\n",
       {{0x1000, 0x200}, {0x2000, 0x10000}, {0x12000, 0x400}, {0x12400, 0x200}}, 0},
      {"0 ?\r\n\r\n  4096 512 -  \r\n", {{4096, 512}}, 0},   // decimal, CR LF, blanks
      {"0x0 + 1\n010 010 -\n", {{8, 8}}, 0},                  // octal
      {"", {}, 1},
      {"# only a comment\n", {}, 2},
      {"0x0 + 1\n0x0 0x200 x\n", {}, 2},                     // unknown status
      {"0x0 + 1\n0x0 0x200\n", {}, 2},                        // a field missing
      {"0x0 + 1\n0x200 0x200 +\n0x0 0x200 -\n", {}, 3},       // not ascending
      {"0x0 + 1\n0x0 -0x200 -\n", {}, 2},
      {"rescued everything\n", {}, 1},
  };
  for (const MapCase& c : cases) {
    SCOPED_TRACE(c.text);
    const cli::DdrescueMap map = cli::ParseDdrescueMap(c.text);
    EXPECT_EQ(map.malformedLine, c.malformedLine);
    EXPECT_EQ(map.unreadable, c.unreadable);
  }
}

}  // namespace
