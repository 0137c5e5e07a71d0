// Blocks and windows served by the store reader are the file's bytes wherever they come from: the
// window, a window read ahead or not, a line read earlier, two lines, or a line read again after
// another took its place.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <tuple>
#include <vector>

#include "engine/scan/StoreReader.h"
#include "tests/support/RecoveryRun.h"

namespace {

// Bytes that do not repeat at any power-of-two distance, so a block read from the wrong place shows.
std::uint8_t ByteAt(std::int64_t offset) {
  std::uint64_t x = static_cast<std::uint64_t>(offset) * 0x9E3779B97F4A7C15u;
  x ^= x >> 29;
  return static_cast<std::uint8_t>(x >> 56);
}

// The block at a 1-based position as the file holds it, zeros beyond its end.
std::array<std::uint8_t, kBlockSize> Expected(std::int64_t position, std::int64_t length) {
  std::array<std::uint8_t, kBlockSize> bytes{};
  for (std::int64_t i = 0; i < kBlockSize; ++i) {
    const std::int64_t offset = position - 1 + i;
    bytes[i] = offset < length ? ByteAt(offset) : 0;
  }
  return bytes;
}

// Whether the reader gives the block at position as the file holds it, the Data after the next header.
bool ReadsAsStored(StoreReader& reader, std::int64_t position, std::int64_t length) {
  const auto bytes = Expected(position, length);
  const DbxBlock expected = DecodeBlock(bytes);
  DbxBlock block, following;
  if (!reader.ReadBlock(position, block)) return false;
  static_cast<void>(reader.ReadBlock(position + kBlockSize, following));  // as the start adjustment does
  return std::tie(block.OwnOffset, block.AreaSize, block.DataLength, block.NextOffset) ==
             std::tie(expected.OwnOffset, expected.AreaSize, expected.DataLength, expected.NextOffset) &&
         std::ranges::equal(reader.Data(position), std::span(bytes).subspan<kDataAt>());
}

std::filesystem::path WriteStore(const testsupport::TempFolder& temp, std::int64_t length) {
  const auto path = temp.Path() / "store.dbx";
  std::vector<char> bytes(static_cast<std::size_t>(length));
  for (std::int64_t i = 0; i < length; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>(ByteAt(i));
  std::ofstream(path, std::ios::binary).write(bytes.data(), length);
  return path;
}

std::optional<platform::StoreFile> OpenStore(const std::filesystem::path& path) {
  platform::OsError error;
  return platform::StoreFile::Open(path.u16string(), error);
}

// The first position at which the loaded window differs from the file's bytes read from start with
// zeros beyond the file's end (length), or -1 when the whole window matches. A window reaching past
// the store's end holds its bytes, one more and the reach of a match at the store's last position.
std::int64_t FirstWrongByte(const StoreReader& reader, std::int64_t start, std::int64_t length) {
  const auto window = reader.Window();
  const std::int64_t size = std::min(kWindowSize, reader.Length() - start + 1 + kCandidateReach + 1);
  if (static_cast<std::int64_t>(window.size()) != size) return 0;
  for (std::int64_t i = 0; i < size; ++i) {
    const std::int64_t offset = start - 1 + i;
    if (window[static_cast<std::size_t>(i)] != (offset < length ? ByteAt(offset) : 0)) return start + i;
  }
  return -1;
}

TEST(StoreReader, WindowsInTurnOrByLeapsAreTheFileBytes) {
  // Not a multiple of the window step, so that the last window runs past the end.
  constexpr std::int64_t kLength = 6 * kWindowStep + 777;
  testsupport::TempFolder temp;
  const auto path = WriteStore(temp, kLength);
  const auto file = OpenStore(path);
  ASSERT_TRUE(file.has_value());
  StoreReads reads(*file);
  StoreReader reader(reads, kLength);
  const std::int64_t starts[] = {
      1,
      1 + kWindowStep,        // the window read ahead
      1 + 3 * kWindowStep,    // a leap past it
      1 + 4 * kWindowStep,
      1 + 4 * kWindowStep + 5000,  // a start the read-ahead did not foresee
      1 + 5 * kWindowStep + 5000,  // the last window, mostly beyond the end
      1,                      // back to the start
      1 + 6 * kWindowStep,    // the last 777 bytes
  };
  for (const std::int64_t start : starts) {
    reader.LoadWindow(start);
    EXPECT_EQ(FirstWrongByte(reader, start, kLength), -1) << start;
  }
}

TEST(StoreReader, AShortStoreHasAWindowOfItsOwnLengthAndItsBlocksAreTheFileBytes) {
  for (const std::int64_t length : {std::int64_t{1}, std::int64_t{100}, std::int64_t{600}, std::int64_t{40'000}, kWindowStep - 5}) {
    SCOPED_TRACE(length);
    testsupport::TempFolder temp;
    const auto file = OpenStore(WriteStore(temp, length));
    ASSERT_TRUE(file.has_value());
    StoreReads reads(*file);
    StoreReader reader(reads, length);
    reader.LoadWindow(1);
    EXPECT_EQ(FirstWrongByte(reader, 1, length), -1);
    for (const std::int64_t position : {std::int64_t{1}, length / 2 + 1, std::max<std::int64_t>(1, length - 527), length}) {
      EXPECT_TRUE(ReadsAsStored(reader, position, length)) << position;
    }
  }
}

TEST(WindowReadAhead, AReadAskedAfterTheOneMarkedLastIsStillRead) {
  constexpr std::int64_t kLength = 5000;
  testsupport::TempFolder temp;
  const auto file = OpenStore(WriteStore(temp, kLength));
  ASSERT_TRUE(file.has_value());
  StoreReads reads(*file);
  WindowReadAhead ahead(reads, StartThread);
  std::vector<std::uint8_t> buffer(1000);
  for (const std::int64_t start : {1, 4001, 2001}) {
    ahead.Start(start, buffer, true);
    // The thread may not have begun the read; it is dropped then.
    if (!ahead.Finish()) continue;
    for (std::size_t i = 0; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], ByteAt(start - 1 + static_cast<std::int64_t>(i))) << start;
  }
}

TEST(StoreReader, WindowsOfAStoreCutShortWhileReadAreZerosBeyondTheNewEnd) {
  constexpr std::int64_t kLength = 4 * kWindowStep;
  constexpr std::int64_t kCutLength = kWindowStep + kWindowStep / 2;
  testsupport::TempFolder temp;
  const auto path = WriteStore(temp, kLength);
  const auto file = OpenStore(path);
  ASSERT_TRUE(file.has_value());
  StoreReads reads(*file);
  StoreReader reader(reads, kLength);
  reader.LoadWindow(1);
  std::filesystem::resize_file(path, kCutLength);
  // The window after the first may have been read before or after the cut; those after it are not.
  for (const std::int64_t start : {1 + 2 * kWindowStep, 1 + 3 * kWindowStep}) {
    reader.LoadWindow(start);
    EXPECT_EQ(FirstWrongByte(reader, start, kCutLength), -1) << start;
  }
  reader.LoadWindow(1 + kWindowStep);
  EXPECT_EQ(FirstWrongByte(reader, 1 + kWindowStep, kCutLength), -1);
}

TEST(StoreReader, BlocksAreTheFileBytesFromWindowAndLinesAlike) {
  constexpr std::int64_t kLength = 9 * 1'048'576 + 1'000;
  constexpr std::int64_t kLine = 32 * 1024;
  constexpr std::int64_t kLinesSpan = 256 * kLine;
  testsupport::TempFolder temp;
  const auto path = WriteStore(temp, kLength);
  const auto file = OpenStore(path);
  ASSERT_TRUE(file.has_value());
  StoreReads reads(*file);
  StoreReader reader(reads, static_cast<std::int32_t>(kLength));
  reader.LoadWindow(2 * kWindowStep + 1);

  const std::int64_t positions[] = {
      2 * kWindowStep + 1,                 // first block of the window
      2 * kWindowStep + kWindowSize - 600, // reaches past the window's end
      2 * kWindowStep - 10,                // starts before the window
      5,                                   // in the first line
      kLine - 100,                         // over the end of a line into the next
      5 + kLinesSpan,                      // takes the first line's place
      5,                                   // and is read again
      kLine - 100 + kLinesSpan,
      kLine - 100,
      kLength - 300,                       // beyond the end of the file: zeros
      kLength,
  };
  for (const std::int64_t position : positions) {
    EXPECT_TRUE(ReadsAsStored(reader, position, kLength)) << position;
  }
  DbxBlock block;
  EXPECT_FALSE(reader.ReadBlock(0, block));
  EXPECT_FALSE(reader.ReadBlock(kLength + 1, block));
}

// Copy gives the file's bytes and how many of them the file held, zeros past its end; a file shorter
// than a line is read again after a line beyond it took its place.
TEST(StoreLines, CopyGivesTheFileBytesAndHowManyOfThemTheFileHeld) {
  struct Read {
    std::int64_t offset, held;
  };
  constexpr std::int64_t kLong = 3 * 32 * 1024 + 100;
  const struct {
    std::int64_t length;
    std::vector<Read> reads;
  } stores[] = {{kLong,
                 {{0, kBlockSize}, {32 * 1024 - 100, kBlockSize}, {kLong - 100, 100}, {kLong, 0}, {kLong + 5000, 0},
                  {0, kBlockSize}}},
                {100, {{0, 100}, {60, 40}, {3 * 32 * 1024 + 7, 0}, {0, 100}, {99, 1}}}};
  for (const auto& store : stores) {
    const testsupport::TempFolder temp;
    const auto file = OpenStore(WriteStore(temp, store.length));
    ASSERT_TRUE(file);
    StoreReads reads(*file);
    StoreLines lines(reads);
    for (const Read& c : store.reads) {
      std::uint8_t bytes[kBlockSize];
      std::fill(std::begin(bytes), std::end(bytes), std::uint8_t{0xAA});
      EXPECT_EQ(lines.Copy(c.offset, bytes), c.held) << store.length << " " << c.offset;
      EXPECT_TRUE(std::ranges::equal(bytes, Expected(c.offset + 1, store.length))) << store.length << " " << c.offset;
    }
  }
}

}  // namespace
