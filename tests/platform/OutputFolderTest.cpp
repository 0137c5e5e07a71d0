// Files made new in the run's folder: never over an existing entry, never outside the folder, and
// dated through the open handle.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "platform/OutputFolder.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/FileTimesProbe.h"
#include "tests/support/ScratchFolder.h"

namespace {

using platform::CreateResult;

std::string Contents(const std::u16string& path) {
  const auto bytes = testsupport::ReadFileBytes(std::filesystem::path(path));
  return {bytes.begin(), bytes.end()};
}

std::span<const std::uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

platform::OutputFolder OpenFolder(const testsupport::ScratchFolder& scratch) {
  platform::OsError error;
  auto folder = platform::OutputFolder::Open(scratch.Path().u16string(), error);
  if (!folder) throw std::runtime_error("cannot open the scratch folder");
  return std::move(*folder);
}

TEST(OutputFolder, CreatesANewFileAndRefusesATakenName) {
  const testsupport::ScratchFolder scratch;
  const platform::OutputFolder folder = OpenFolder(scratch);
  platform::OsError error;

  platform::NewFile made = folder.CreateNew(u"会議の日程について.eml");
  ASSERT_EQ(made.result, CreateResult::Created);
  ASSERT_TRUE(made.file);
  EXPECT_TRUE(made.file->Write(Bytes("Subject: x\r\n\r\nbody"), error));
  EXPECT_TRUE(made.file->Close(error));
  EXPECT_EQ(Contents(scratch.PathOf(u"会議の日程について.eml")), "Subject: x\r\n\r\nbody");

  const platform::NewFile again = folder.CreateNew(u"会議の日程について.eml");
  EXPECT_EQ(again.result, CreateResult::Exists);
  EXPECT_FALSE(again.file);
  EXPECT_EQ(Contents(scratch.PathOf(u"会議の日程について.eml")), "Subject: x\r\n\r\nbody");

  std::filesystem::create_directory(scratch.Path() / "sub");
  EXPECT_EQ(folder.CreateNew(u"sub").result, CreateResult::Exists);
}

// Unnamed files exist where the kernel has O_TMPFILE; Windows makes none.
TEST(OutputFolder, AnUnnamedFileIsSeenOnlyOnceNamedAndNeverReplacesAnEntry) {
  const testsupport::ScratchFolder scratch;
  const platform::OutputFolder folder = OpenFolder(scratch);
  std::optional<platform::NewFile> made = folder.CreateUnnamed();
  if (!made) GTEST_SKIP() << "no unnamed files on this file system";
  ASSERT_EQ(made->result, CreateResult::Created);
  platform::OsError error;
  ASSERT_TRUE(made->file->Write(Bytes("Subject: y\r\n\r\nbody"), error));
  EXPECT_TRUE(std::filesystem::is_empty(scratch.Path()));

  std::filesystem::create_directory(scratch.Path() / "sub");
  EXPECT_EQ(folder.NameUnnamed(*made->file, u"sub", error), CreateResult::Exists);
  EXPECT_EQ(folder.NameUnnamed(*made->file, u"../out.eml", error), CreateResult::NameRefused);
  EXPECT_EQ(folder.NameUnnamed(*made->file, u"届いた.eml", error), CreateResult::Created);
  EXPECT_EQ(Contents(scratch.PathOf(u"届いた.eml")), "Subject: y\r\n\r\nbody");
}

TEST(OutputFolder, NamesThatAreNotPlainFailAndCreateNothing) {
  const testsupport::ScratchFolder scratch;
  std::filesystem::create_directory(scratch.Path() / "inner");
  platform::OsError error;
  const auto inner = platform::OutputFolder::Open(scratch.PathOf(u"inner"), error);
  ASSERT_TRUE(inner);
  for (const std::u16string_view name : {u"", u".", u"..", u"../escaped.eml", u"a/b.eml"}) {
    const platform::NewFile made = inner->CreateNew(name);
    EXPECT_EQ(made.result, CreateResult::NameRefused) << std::string(name.begin(), name.end());
    EXPECT_FALSE(made.error.text.empty());
  }
  EXPECT_FALSE(std::filesystem::exists(scratch.Path() / "escaped.eml"));
  // Too long for the system, though plain: another, shorter name may still be made.
#ifndef _WIN32
  // Wine answers a name this long with a code of its own; Windows' codes are mapped by their documentation.
  const platform::NewFile tooLong = inner->CreateNew(std::u16string(300, u'x') + u".eml");
  EXPECT_EQ(tooLong.result, CreateResult::NameRefused) << tooLong.error.code;
#endif
  EXPECT_TRUE(platform::IsPlainName(u"Re_ a_b.eml"));
  EXPECT_TRUE(platform::IsPlainName(u"..eml"));
#ifdef _WIN32
  EXPECT_FALSE(platform::IsPlainName(u"a\\b.eml"));
  EXPECT_FALSE(platform::IsPlainName(u"a:stream"));
#else
  EXPECT_TRUE(platform::IsPlainName(u"a\\b:c.eml"));
#endif
}

TEST(OutputFolder, OtherFailuresAreNotMistakenForATakenName) {
  platform::OsError error;
  {
    const testsupport::ScratchFolder scratch;
    EXPECT_FALSE(platform::OutputFolder::Open(scratch.PathOf(u"absent"), error));
    EXPECT_FALSE(error.text.empty());
    EXPECT_FALSE(platform::OutputFolder::Open(scratch.WriteFile(u"file.eml", "x"), error));
  }
  const testsupport::ScratchFolder scratch;
  std::filesystem::create_directory(scratch.Path() / "gone");
  const auto gone = platform::OutputFolder::Open(scratch.PathOf(u"gone"), error);
  ASSERT_TRUE(gone);
  std::filesystem::remove(scratch.Path() / "gone");
  EXPECT_EQ(gone->CreateNew(u"x.eml").result, CreateResult::Failed);
}

TEST(OutputFile, TimesSetOnTheOpenFileHoldAfterItIsClosed) {
  const testsupport::ScratchFolder scratch;
  const platform::OutputFolder folder = OpenFolder(scratch);
  const platform::FileTime stamp = testsupport::UtcFileTime(2002, 7, 6, 1, 20, 30);
  platform::OsError error;

  platform::NewFile dated = folder.CreateNew(u"dated.eml");
  ASSERT_TRUE(dated.file);
  ASSERT_TRUE(dated.file->Write(Bytes(std::string(100000, 'm')), error));
  EXPECT_TRUE(dated.file->SetTimes(stamp, stamp));
  ASSERT_TRUE(dated.file->Close(error));
  const auto times = testsupport::ReadFileTimes(scratch.PathOf(u"dated.eml"));
  ASSERT_TRUE(times);
  EXPECT_EQ(times->lastWrite, stamp);
  if (testsupport::KeepsCreationTime(scratch.PathOf(u"dated.eml"))) {
    EXPECT_EQ(times->creation, stamp);
  }

  // Zero leaves a time as the system set it.
  platform::NewFile undated = folder.CreateNew(u"undated.eml");
  ASSERT_TRUE(undated.file);
  EXPECT_TRUE(undated.file->SetTimes(0, 0));
  ASSERT_TRUE(undated.file->Close(error));
  const auto untouched = testsupport::ReadFileTimes(scratch.PathOf(u"undated.eml"));
  ASSERT_TRUE(untouched);
  EXPECT_GT(untouched->lastWrite, testsupport::UtcFileTime(2020, 1, 1, 0, 0, 0));
}

}  // namespace
