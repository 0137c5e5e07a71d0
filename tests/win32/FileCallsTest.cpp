// The one place where paths reach the Win32 file calls, and a run into a folder deeper than 260
// characters. Wine does not enforce the limit, so the prefix itself is what the tables check.
#include "platform/win32/FileCalls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/Files.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

using platform::win32::ExtendedLengthForm;
using platform::win32::SystemPath;

struct Form {
  std::u16string path;
  std::u16string expected;
};

TEST(ExtendedLengthForm, DrivesAndSharesArePrefixedEverythingElseStays) {
  const Form forms[] = {
      {u"C:\\Users\\a\\b.eml", u"\\\\?\\C:\\Users\\a\\b.eml"},
      {u"d:\\", u"\\\\?\\d:\\"},
      {u"\\\\server\\share\\mail\\a.eml", u"\\\\?\\UNC\\server\\share\\mail\\a.eml"},
      {u"\\\\?\\C:\\already", u"\\\\?\\C:\\already"},
      {u"\\\\?\\UNC\\server\\share", u"\\\\?\\UNC\\server\\share"},
      {u"\\\\.\\NUL", u"\\\\.\\NUL"},
      {u"\\??\\C:\\nt", u"\\??\\C:\\nt"},
      {u"relative\\a.eml", u"relative\\a.eml"},
      {u"C:relative", u"C:relative"},
      {u"\\rooted", u"\\rooted"},
      {u"", u""},
  };
  for (const Form& form : forms) EXPECT_EQ(ExtendedLengthForm(form.path), form.expected);
}

TEST(SystemPath, ResolvesAsThePlainCallWouldThenPrefixes) {
  const std::u16string current = std::filesystem::current_path().u16string();
  const std::u16string here = u"\\\\?\\" + current + (current.ends_with(u'\\') ? u"" : u"\\");
  const Form forms[] = {
      {u"C:/a/b/../c", u"\\\\?\\C:\\a\\c"},
      {u"C:\\a\\.\\b. ", u"\\\\?\\C:\\a\\b"},
      {u"mail\\x.eml", here + u"mail\\x.eml"},
      {u"\\\\server\\share\\a", u"\\\\?\\UNC\\server\\share\\a"},
      {u"\\\\?\\C:\\kept/as.is", u"\\\\?\\C:\\kept/as.is"},
      {u"", u""},
  };
  for (const Form& form : forms) EXPECT_EQ(SystemPath(form.path), form.expected);
}

TEST(DeepFolders, ARunKeepsItsNamesInAFolderOver300Characters) {
  testsupport::TempFolder temp;
  std::u16string parent = temp.Path().u16string();
  platform::OsError error;
  while (parent.size() <= 300) {
    parent += u"\\" + std::u16string(60, u'深');
    ASSERT_TRUE(platform::CreateFolder(parent, error)) << error.code;
  }
  testsupport::DbxWriter writer;
  const std::string subject(200, 's');
  writer.AppendMessage(testsupport::MakeMessage(subject, 900));
  const std::filesystem::path store = temp.Path() / "store.dbx";
  writer.Save(store);
  testsupport::RecordingUi ui(parent);
  const testsupport::RunResult run = testsupport::RunRecovery(store, ui);
  ASSERT_EQ(run.records.size(), 1u);
  EXPECT_EQ(run.records[0].FileName, std::u16string(subject.begin(), subject.end()) + u".eml");
  const std::u16string file = run.outcome.outputFolder + u"\\" + run.records[0].FileName;
  EXPECT_GT(file.size(), 500u);
  EXPECT_EQ(platform::KindOfPath(file), platform::PathKind::RegularFile);
  EXPECT_TRUE(platform::RemoveFile(file));
  EXPECT_FALSE(platform::PathExists(file));
}

}  // namespace
