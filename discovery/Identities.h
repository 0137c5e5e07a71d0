#pragma once
// The user list: the mail client's identities, their store folders and the documents folder, found
// once at start-up and kept by the window that shows them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct UserList {
  // Same indices in both lists, at least one entry each; entry i of both belongs to the same identity.
  std::vector<std::u16string> UserNames{u""};
  std::vector<std::u16string> StoreFolders{u""};
  // The identity the mail client starts as; 0 when none matches.
  std::int32_t CurrentUserIndex = 0;
  // The default output folder, without a trailing backslash.
  std::u16string DocumentsFolder;

  // The store folder of identity `index`; empty for an index outside the list.
  const std::u16string& StoreFolderAt(std::int64_t index) const;
};

UserList DiscoverMailStores();

// Every occurrence of from, left to right without overlap, exact case.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to);

// The two folder names a stored path may use, each ending in a backslash (or empty when unknown).
struct FolderVariables {
  std::u16string systemDriveRoot;    // e.g. C:\ for %SystemDrive%
  std::u16string userProfileFolder;  // e.g. C:\Users\user1\ for %UserProfile%
};

// A "Store Root" value made usable: both names expanded, then every double backslash made single.
std::u16string ExpandStoreFolder(std::u16string_view stored, const FolderVariables& folders);
// A "Personal" value made usable: both names expanded, then one trailing backslash removed.
std::u16string ExpandDocumentsFolder(std::u16string_view stored, const FolderVariables& folders);
