#include "discovery/Identities.h"

#include "discovery/RegistryValues.h"
#include "platform/Folders.h"

namespace {

constexpr platform::RegistryRoot kCurrentUser = platform::RegistryRoot::CurrentUser;
const std::u16string kIdentities = u"Identities";
const std::u16string kStoreKey = u"\\Software\\Microsoft\\Outlook Express\\5.0";
const std::u16string kShellFolders = u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::u16string WithTrailingBackslash(std::u16string folder) {
  if (!folder.empty() && folder.back() != u'\\') folder += u'\\';
  return folder;
}

std::u16string ExpandFolderNames(std::u16string_view stored, const FolderVariables& folders) {
  return ReplaceAll(ReplaceAll(stored, u"%SystemDrive%", folders.systemDriveRoot), u"%UserProfile%",
                    folders.userProfileFolder);
}

// %UserProfile% is taken from the system rather than from the application-data folder's parent,
// which since Windows Vista is ...\AppData and not the profile.
FolderVariables SystemFolderVariables() {
  return FolderVariables{WithTrailingBackslash(platform::FolderVariable(u"SystemDrive")),
                         WithTrailingBackslash(platform::FolderVariable(u"UserProfile"))};
}

}  // namespace

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to) {
  std::u16string result;
  std::size_t start = 0;
  for (std::size_t found = text.find(from); !from.empty() && found != std::u16string_view::npos;
       found = text.find(from, start)) {
    result.append(text.substr(start, found - start)).append(to);
    start = found + from.size();
  }
  result.append(text.substr(start));
  return result;
}

std::u16string ExpandStoreFolder(std::u16string_view stored, const FolderVariables& folders) {
  return ReplaceAll(ExpandFolderNames(stored, folders), u"\\\\", u"\\");
}

std::u16string ExpandDocumentsFolder(std::u16string_view stored, const FolderVariables& folders) {
  std::u16string folder = ExpandFolderNames(stored, folders);
  if (!folder.empty() && folder.back() == u'\\') folder.pop_back();
  return folder;
}

const std::u16string& UserList::StoreFolderAt(std::int64_t index) const {
  static const std::u16string none;
  if (index < 0 || static_cast<std::size_t>(index) >= StoreFolders.size()) return none;
  return StoreFolders[static_cast<std::size_t>(index)];
}

UserList DiscoverMailStores() {
  UserList list;
  const FolderVariables folders = SystemFolderVariables();
  const std::vector<std::u16string> identities = GetRegistrySubKeys(kCurrentUser, kIdentities);
  std::u16string startAs;
  GetRegistryString(kCurrentUser, kIdentities, u"Start As", startAs);

  list.UserNames.assign(identities.size(), u"");
  list.StoreFolders.assign(identities.size(), u"");
  for (std::size_t i = 0; i < identities.size(); ++i) {
    const std::u16string& id = identities[i];
    if (id == startAs) list.CurrentUserIndex = static_cast<std::int32_t>(i);
    // Without identities the one entry has no key; "Identities\" would name the parent key itself.
    if (id.empty()) continue;
    const std::u16string identityKey = kIdentities + u"\\" + id;
    GetRegistryString(kCurrentUser, identityKey, u"Username", list.UserNames[i]);
    std::u16string storeRoot;
    GetRegistryString(kCurrentUser, identityKey + kStoreKey, u"Store Root", storeRoot);
    list.StoreFolders[i] = ExpandStoreFolder(storeRoot, folders);
  }

  if (!platform::HasRegistry()) {
    // No shell folders in a registry here: the platform's own documents folder, as the CLI uses it.
    list.DocumentsFolder = platform::DocumentsFolder();
    return list;
  }
  std::u16string personal;
  GetRegistryString(kCurrentUser, kShellFolders, u"Personal", personal);
  list.DocumentsFolder = ExpandDocumentsFolder(personal, folders);
  return list;
}
