#include <gtest/gtest.h>

#include "RegistrySandbox.h"
#include "WindowHarness.h"
#include "discovery/Identities.h"
#include "discovery/RegistryValues.h"

namespace {

const std::wstring kIdentities = L"Identities";
const std::wstring kStoreKey = L"\\Software\\Microsoft\\Outlook Express\\5.0";
const std::wstring kShellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::wstring kIdA = L"{A0000000-0000-0000-0000-000000000001}";
const std::wstring kIdB = L"{B0000000-0000-0000-0000-000000000002}";
const std::wstring kIdC = L"{C0000000-0000-0000-0000-000000000003}";

std::u16string U(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

class Discovery : public ::testing::Test {
 protected:
  void AddIdentity(const std::wstring& id, const std::wstring& name, const std::wstring& storeRoot) {
    registry_.SetString(kIdentities + L"\\" + id, L"Username", name);
    registry_.SetString(kIdentities + L"\\" + id + kStoreKey, L"Store Root", storeRoot, REG_EXPAND_SZ);
  }

  RegistrySandbox registry_;
  // The folders as a Windows XP profile names them.
  EnvironmentOverride profile_{L"UserProfile", L"C:\\Documents and Settings\\user1"};
  EnvironmentOverride drive_{L"SystemDrive", L"C:"};
};

TEST_F(Discovery, ThreeIdentitiesInEnumerationOrderWithTheStartIdentity) {
  AddIdentity(kIdC, L"三郎", L"%SystemDrive%\\Mail");
  AddIdentity(kIdA, L"太郎", L"%UserProfile%\\Local Settings\\Application Data\\Identities\\" + kIdA +
                                 L"\\Microsoft\\Outlook Express");
  AddIdentity(kIdB, L"花子", L"D:\\OE\\Store");
  registry_.SetString(kIdentities, L"Start As", kIdB);
  registry_.SetString(kShellFolders, L"Personal", L"%UserProfile%\\My Documents");

  const UserList found = DiscoverMailStores();
  EXPECT_EQ(found.UserNames, (std::vector<std::u16string>{u"太郎", u"花子", u"三郎"}));
  EXPECT_EQ(found.StoreFolders,
            (std::vector<std::u16string>{u"C:\\Documents and Settings\\user1\\Local Settings\\Application Data\\"
                                         u"Identities\\" +
                                             U(kIdA) + u"\\Microsoft\\Outlook Express",
                                         u"D:\\OE\\Store", u"C:\\Mail"}));
  EXPECT_EQ(found.CurrentUserIndex, 1);
  EXPECT_EQ(found.DocumentsFolder, u"C:\\Documents and Settings\\user1\\\\My Documents");
}

TEST_F(Discovery, StartAsPicksTheIdentityOnlyOnAnExactMatch) {
  AddIdentity(kIdA, L"a", L"");
  AddIdentity(kIdB, L"b", L"");
  AddIdentity(kIdC, L"c", L"");
  struct Case {
    const wchar_t* startAs;  // nullptr: no value
    std::int32_t index;
  };
  std::wstring lowerC = kIdC;
  for (auto& c : lowerC) c = static_cast<wchar_t>(towlower(c));
  const Case cases[] = {{kIdC.c_str(), 2}, {nullptr, 0}, {L"{not-an-identity}", 0}, {lowerC.c_str(), 0}};
  for (const Case& c : cases) {
    if (c.startAs != nullptr) {
      registry_.SetString(kIdentities, L"Start As", c.startAs);
    } else {
      registry_.SetDword(kIdentities, L"Start As", 7);  // not a string: as good as missing
    }
    const UserList found = DiscoverMailStores();
    EXPECT_EQ(found.CurrentUserIndex, c.index) << (c.startAs ? c.startAs : L"(none)");
  }
}

TEST_F(Discovery, MissingAndWrongTypeValuesLeaveEmptyEntries) {
  registry_.SetString(kIdentities + L"\\" + kIdA, L"Username", L"a");
  registry_.SetDword(kIdentities + L"\\" + kIdA + kStoreKey, L"Store Root", 5);
  registry_.CreateKey(kIdentities + L"\\" + kIdB);
  registry_.SetBytes(kIdentities + L"\\" + kIdC, L"Username", L"c", REG_BINARY);
  registry_.SetBytes(kIdentities + L"\\" + kIdC + kStoreKey, L"Store Root", std::wstring(L"E:\\One\0E:\\Two\0", 15),
                     REG_SZ);
  const UserList found = DiscoverMailStores();
  EXPECT_EQ(found.UserNames, (std::vector<std::u16string>{u"a", u"", u""}));
  EXPECT_EQ(found.StoreFolders, (std::vector<std::u16string>{u"", u"", u"E:\\One"})) << "text is cut at its first NUL";
  EXPECT_EQ(found.DocumentsFolder, u"") << "no Personal value";
}

TEST_F(Discovery, WithoutIdentitiesThereIsOneEmptyEntry) {
  registry_.SetString(kShellFolders, L"Personal", L"C:\\");
  const UserList found = DiscoverMailStores();
  EXPECT_EQ(found.UserNames, std::vector<std::u16string>{u""});
  EXPECT_EQ(found.StoreFolders, std::vector<std::u16string>{u""});
  EXPECT_EQ(found.CurrentUserIndex, 0);
  EXPECT_EQ(found.DocumentsFolder, u"C:");

  // A key without subkeys is no different, even if it holds values of its own.
  registry_.SetString(kIdentities, L"Username", L"not an identity");
  registry_.SetString(kIdentities, L"Start As", L"");
  const UserList again = DiscoverMailStores();
  EXPECT_EQ(again.UserNames, std::vector<std::u16string>{u""});
  EXPECT_EQ(again.CurrentUserIndex, 0);
}

TEST_F(Discovery, ProfileFolderComesFromTheSystemNotFromApplicationData) {
  const EnvironmentOverride vistaProfile(L"UserProfile", L"C:\\Users\\user1");
  AddIdentity(kIdA, L"a", L"%UserProfile%\\AppData\\Local\\Identities\\" + kIdA);
  registry_.SetString(kShellFolders, L"Personal", L"C:\\Users\\user1\\Documents\\");
  const UserList found = DiscoverMailStores();
  EXPECT_EQ(found.StoreFolders[0], u"C:\\Users\\user1\\AppData\\Local\\Identities\\" + U(kIdA));
  EXPECT_EQ(found.DocumentsFolder, u"C:\\Users\\user1\\Documents");
}

TEST_F(Discovery, LowerCaseNamesStayUnexpanded) {
  AddIdentity(kIdA, L"a", L"%userprofile%\\Mail");
  const UserList found = DiscoverMailStores();
  EXPECT_EQ(found.StoreFolders[0], u"%userprofile%\\Mail");
}

// Mend: keys are opened for reading only, so a key the user may read but not write is still found.
TEST_F(Discovery, ReadsKeysTheUserMayNotWrite) {
  AddIdentity(kIdA, L"a", L"C:\\Mail");
  registry_.MakeReadOnly(kIdentities + L"\\" + kIdA);
  registry_.MakeReadOnly(kIdentities);
  HKEY probe = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (kIdentities + L"\\" + kIdA).c_str(), 0, KEY_ALL_ACCESS, &probe),
            ERROR_ACCESS_DENIED)
      << "the key must really refuse full access for this test to mean anything";
  const UserList found = DiscoverMailStores();
  EXPECT_EQ(found.UserNames, std::vector<std::u16string>{u"a"});
  EXPECT_EQ(GetRegistrySubKeys(platform::RegistryRoot::CurrentUser, u"Identities"),
            std::vector<std::u16string>{U(kIdA)});
}

// Mend: names are read as UTF-16, so characters outside the system code page survive.
TEST_F(Discovery, KeepsNamesOutsideTheSystemCodePage) {
  AddIdentity(kIdA, L"Zoë 田中 ✉", L"C:\\Meldungen\\Zoë");
  const UserList found = DiscoverMailStores();
  EXPECT_EQ(found.UserNames[0], u"Zoë 田中 ✉");
  EXPECT_EQ(found.StoreFolders[0], u"C:\\Meldungen\\Zoë");
}

using DiscoveredWindow = WindowHarness;

TEST_F(DiscoveredWindow, StartCaptionNamesTheStartIdentity) {
  RegistrySandbox registry;
  registry.SetString(kIdentities + L"\\" + kIdA, L"Username", L"user1");
  registry.SetString(kIdentities + L"\\" + kIdB, L"Username", L"ユーザー２");
  registry.SetString(kIdentities, L"Start As", kIdB);
  registry.SetString(kShellFolders, L"Personal", L"C:\\Users\\user1\\Documents");
  users_ = DiscoverMailStores();
  Open();
  EXPECT_EQ(Text(ControlId::optDefault), L"ユーザー２の受信トレイ(&R)");
  EXPECT_EQ(Text(ControlId::txtEMLFolder), L"C:\\Users\\user1\\Documents");
}

}  // namespace
