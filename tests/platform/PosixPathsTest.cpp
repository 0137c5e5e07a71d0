// POSIX names are bytes, and the run's folder is private whatever the umask.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <span>

#include "platform/FileTimes.h"
#include "platform/Files.h"
#include "platform/Utf.h"
#include "tests/support/ScratchFolder.h"

namespace {

// Shift_JIS "受信トレイ.dbx", as an old disk holds it; not UTF-8.
const std::string kShiftJisName = "\x8e\xf3\x90\x4d\x83\x67\x83\x8c\x83\x43.dbx";

class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : previous_(::umask(mask)) {}
  ~ScopedUmask() { ::umask(previous_); }
  ScopedUmask(const ScopedUmask&) = delete;
  ScopedUmask& operator=(const ScopedUmask&) = delete;

 private:
  mode_t previous_;
};

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

TEST(CreateFolder, OnlyTheOwnerMayEnterWhateverTheUmask) {
  const testsupport::ScratchFolder scratch;
  for (const mode_t mask : {mode_t{0}, mode_t{022}, mode_t{077}}) {
    const ScopedUmask umask(mask);
    const std::u16string folder = scratch.PathOf(u"メール復元" + platform::FromUtf8(std::to_string(mask)));
    platform::OsError error;
    ASSERT_TRUE(platform::CreateFolder(folder, error)) << platform::ToUtf8(error.text);
    EXPECT_EQ(ModeOf(platform::ToPathBytes(folder)), mode_t{0700}) << "umask " << mask;

    // The files inside keep the ordinary mode.
    const std::u16string file = folder + u"/Recover1.eml";
    ASSERT_TRUE(platform::OutputFile::Create(file, error));
    EXPECT_EQ(ModeOf(platform::ToPathBytes(file)), 0666 & ~mask) << "umask " << mask;
  }
}

TEST(PosixPaths, ANameThatIsNotUtf8IsWrittenReadRenamedAndStampedUnderItsOwnBytes) {
  const testsupport::ScratchFolder scratch;
  const std::string folderBytes = scratch.Path().string() + "/\x8f\xe3\x97\xcd";  // Shift_JIS 出力
  const std::u16string folder = platform::FromPathBytes(folderBytes);
  platform::OsError error;
  ASSERT_TRUE(platform::CreateFolder(folder, error)) << platform::ToUtf8(error.text);
  EXPECT_EQ(ModeOf(folderBytes), mode_t{0700});

  const std::u16string working = folder + u"/Recover1.eml";
  auto output = platform::OutputFile::Create(working, error);
  ASSERT_TRUE(output);
  const std::string content = "Subject: x\r\n\r\nbody";
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
  ASSERT_TRUE(output->Write(bytes, error));
  ASSERT_TRUE(output->Close(error));

  const std::u16string named = folder + u'/' + platform::FromPathBytes(kShiftJisName);
  EXPECT_EQ(platform::RenameNoReplace(working, named, error), platform::RenameResult::Renamed);
  EXPECT_TRUE(platform::PathExists(named));
  struct stat info {};
  ASSERT_EQ(::stat((folderBytes + "/" + kShiftJisName).c_str(), &info), 0) << "not on disk under its own bytes";

  const auto store = platform::StoreFile::Open(named, error);
  ASSERT_TRUE(store) << platform::ToUtf8(error.text);
  EXPECT_EQ(store->Length(), static_cast<std::int64_t>(content.size()));
  // 2019-04-17 18:40:00 UTC, in 100 ns ticks since 1601.
  EXPECT_TRUE(platform::SetFileTimes(named, 0, platform::FileTime{132000000000000000}));
  ASSERT_EQ(::stat((folderBytes + "/" + kShiftJisName).c_str(), &info), 0);
  EXPECT_EQ(info.st_mtime, 1555526400);
  EXPECT_TRUE(platform::RemoveFile(named));
  EXPECT_FALSE(platform::PathExists(named));
}

}  // namespace
#endif
