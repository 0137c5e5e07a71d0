// Reads around bad sectors: every readable byte is the file's, every unreadable one reads as zero and
// lies in a recorded range, which covers whole sectors within the file and nothing more.
#include "engine/scan/StoreReads.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/RecoveryRun.h"

namespace {

constexpr std::int64_t kLength = 3 * 65536 + 1000;

std::uint8_t ByteAt(std::int64_t offset) { return static_cast<std::uint8_t>(offset * 7 + offset / 251 + 1); }

TEST(StoreReads, ReadAroundBadSectorsAndRecordThemMerged) {
  const testsupport::TempFolder temp;
  const auto path = temp.Path() / "store.dbx";
  std::vector<char> bytes(kLength);
  for (std::int64_t i = 0; i < kLength; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>(ByteAt(i));
  std::ofstream(path, std::ios::binary).write(bytes.data(), kLength);
  const struct {
    const char* name;
    std::vector<platform::ByteRange> bad, reads, unreadable;  // planted; read in turn; recorded after them
  } cases[] = {
      {"one byte bad costs its sector", {{5000, 1}}, {{0, 65536}}, {{4608, 512}}},
      {"a 4 KiB sector", {{65536 + 4096, 4096}}, {{0, 131072}}, {{65536 + 4096, 4096}}},
      {"read in pieces, merged", {{1024, 1024}}, {{0, 1536}, {1500, 2000}}, {{1024, 1024}}},
      {"two stretches stay apart", {{512, 512}, {8192, 1024}}, {{0, 65536}}, {{512, 512}, {8192, 1024}}},
      {"a read inside a known bad sector", {{2048, 512}}, {{0, 4096}, {2100, 10}}, {{2048, 512}}},
      {"at the end only the file's bytes", {{kLength - 100, 5000}}, {{kLength - 3000, 8000}}, {{kLength - 488, 488}}},
      {"a healthy read records nothing", {{40000, 512}}, {{0, 32768}}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    platform::OsError error;
    const auto file = platform::StoreFile::Open(path.u16string(), error, c.bad);
    ASSERT_TRUE(file);
    StoreReads reads(*file);
    for (const platform::ByteRange& read : c.reads) {
      std::vector<std::uint8_t> out(static_cast<std::size_t>(read.length), 0xEE);
      EXPECT_EQ(reads.Read(read.offset, out), std::min(read.length, kLength - read.offset));
      for (std::int64_t i = 0; i < read.length; ++i) {
        const std::int64_t at = read.offset + i;
        const bool lost = at >= kLength || !reads.Readable(at, 1);
        ASSERT_EQ(out[static_cast<std::size_t>(i)], lost ? 0 : ByteAt(at)) << "at " << at;
      }
    }
    EXPECT_EQ(reads.Unreadable(), c.unreadable);
  }
}

}  // namespace
