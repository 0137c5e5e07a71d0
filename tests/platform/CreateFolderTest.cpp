// The run's folder is private whatever the umask (names that are not UTF-8: cli ProgramTest).
#ifndef _WIN32
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/Files.h"
#include "platform/Utf.h"
#include "tests/support/ScratchFolder.h"

namespace {

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

}  // namespace
#endif
