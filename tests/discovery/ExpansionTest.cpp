#include <gtest/gtest.h>

#include "discovery/Identities.h"
#include "discovery/RegistryValues.h"
#include "platform/Folders.h"
#include "platform/Registry.h"

namespace {

const FolderVariables kXpFolders{u"C:\\", u"C:\\Documents and Settings\\user1\\"};

struct ExpansionCase {
  std::u16string stored;
  std::u16string expected;
};

TEST(Discovery, ExpandsStoreFolders) {
  const ExpansionCase cases[] = {
      {u"%UserProfile%\\Local Settings\\Application Data\\Identities\\{id}\\Microsoft\\Outlook Express",
       u"C:\\Documents and Settings\\user1\\Local Settings\\Application Data\\Identities\\{id}\\Microsoft\\Outlook "
       u"Express"},
      {u"%SystemDrive%\\Mail", u"C:\\Mail"},
      {u"%userprofile%\\Mail", u"%userprofile%\\Mail"},  // exact case only
      {u"%WinDir%\\Mail", u"%WinDir%\\Mail"},            // only the two names
      {u"D:\\\\\\\\Mail", u"D:\\\\Mail"},                // four backslashes become two: a single pass
      {u"D:\\\\\\Mail", u"D:\\\\Mail"},                  // three become two
      {u"%SystemDrive%%SystemDrive%", u"C:\\C:\\"},
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandStoreFolder(c.stored, kXpFolders), c.expected);
}

TEST(Discovery, ExpandsTheDocumentsFolderWithoutCollapsingBackslashes) {
  const ExpansionCase cases[] = {
      {u"%UserProfile%\\My Documents", u"C:\\Documents and Settings\\user1\\\\My Documents"},
      {u"C:\\Users\\user1\\Documents\\", u"C:\\Users\\user1\\Documents"},
      {u"C:\\", u"C:"},
      {u"%SystemDrive%", u"C:"},
      {u"C:\\Docs\\\\", u"C:\\Docs\\"},  // only one trailing backslash goes
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandDocumentsFolder(c.stored, kXpFolders), c.expected);
}

TEST(Discovery, UnknownFoldersExpandToNothing) {
  EXPECT_EQ(ExpandStoreFolder(u"%UserProfile%\\Mail", FolderVariables{}), u"\\Mail");
  EXPECT_EQ(ExpandStoreFolder(u"%SystemDrive%\\Mail", FolderVariables{}), u"\\Mail");
}

TEST(Discovery, ReplacesLeftToRightWithoutOverlap) {
  EXPECT_EQ(ReplaceAll(u"aaaa", u"aa", u"a"), u"aa");
  EXPECT_EQ(ReplaceAll(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_EQ(ReplaceAll(u"xyz", u"", u"b"), u"xyz");
  EXPECT_EQ(ReplaceAll(u"%A%%A%", u"%A%", u"[%A%]"), u"[%A%][%A%]");
}

TEST(Discovery, TrimsAtTheFirstNul) {
  using namespace std::string_view_literals;
  EXPECT_EQ(TrimAtNull(u"abc\0def"sv), u"abc");
  EXPECT_EQ(TrimAtNull(u"\0"sv), u"");
  EXPECT_EQ(TrimAtNull(u"abc"sv), u"abc");
  EXPECT_EQ(TrimAtNull(u""sv), u"");
}

TEST(Discovery, WithoutARegistryThereIsOneEmptyIdentity) {
  if (platform::HasRegistry()) GTEST_SKIP() << "the registry-backed discovery is tested in the shell tests";
  const UserList found = DiscoverMailStores();
  EXPECT_EQ(found.UserNames, std::vector<std::u16string>{u""});
  EXPECT_EQ(found.StoreFolders, std::vector<std::u16string>{u""});
  EXPECT_EQ(found.CurrentUserIndex, 0);
  EXPECT_EQ(found.DocumentsFolder, platform::DocumentsFolder());
  EXPECT_FALSE(found.DocumentsFolder.empty()) << "the tests run with a home folder";
  EXPECT_EQ(GetRegistrySubKeys(platform::RegistryRoot::CurrentUser, u"Identities"), std::vector<std::u16string>{u""});
  std::u16string value = u"stale";
  EXPECT_FALSE(GetRegistryString(platform::RegistryRoot::CurrentUser, u"Identities", u"Start As", value));
  EXPECT_EQ(value, u"");
}

}  // namespace
