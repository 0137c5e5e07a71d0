// Renaming never replaces: an existing target, the file itself included, is told apart from failures.
#include <gtest/gtest.h>

#include "platform/Files.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/ScratchFolder.h"

namespace {

using platform::RenameResult;

std::string Contents(const std::u16string& path) {
  const auto bytes = testsupport::ReadFileBytes(std::filesystem::path(path));
  return {bytes.begin(), bytes.end()};
}

TEST(RenameNoReplace, RenamesToAFreeNameAndRefusesEveryTakenOne) {
  const testsupport::ScratchFolder folder;
  const std::u16string working = folder.WriteFile(u"Recover1.eml", "message");
  const std::u16string taken = folder.WriteFile(u"Hello.eml", "earlier");
  platform::OsError error;

  EXPECT_EQ(platform::RenameNoReplace(working, taken, error), RenameResult::TargetExists);
  EXPECT_EQ(Contents(taken), "earlier");
  EXPECT_EQ(Contents(working), "message");

  EXPECT_EQ(platform::RenameNoReplace(working, working, error), RenameResult::TargetExists);
  EXPECT_EQ(Contents(working), "message");

  const std::u16string fresh = folder.PathOf(u"会議の日程について.eml");
  EXPECT_EQ(platform::RenameNoReplace(working, fresh, error), RenameResult::Renamed);
  EXPECT_EQ(Contents(fresh), "message");
  EXPECT_FALSE(platform::PathExists(working));
}

TEST(RenameNoReplace, OtherFailuresAreNotMistakenForATakenName) {
  const testsupport::ScratchFolder folder;
  const std::u16string working = folder.WriteFile(u"Recover1.eml", "message");
  platform::OsError error;
  EXPECT_EQ(platform::RenameNoReplace(folder.PathOf(u"absent.eml"), folder.PathOf(u"x.eml"), error),
            RenameResult::Failed);
  EXPECT_FALSE(error.text.empty());
  EXPECT_EQ(platform::RenameNoReplace(working, folder.PathOf(u"no-such-folder") + platform::kPathSeparator + u"x.eml",
                                      error),
            RenameResult::Failed);
  EXPECT_EQ(Contents(working), "message");
}

}  // namespace
