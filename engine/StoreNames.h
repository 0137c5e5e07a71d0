#pragma once
// Names taken from a store's path: whether it is one, whether it holds mail by its name, and the folder
// its mail goes to in a run over several.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Whether a file name ends in ".dbx", in any case.
bool IsDbxFileName(std::u16string_view name);

// The last part of a path.
std::u16string_view FileNameOf(std::u16string_view path);

// Not a folder file of the mail client (the folder list, the offline and POP3 records, a search
// folder): never listed, and skipped in a run over a folder.
inline constexpr int kNotListed = 0;

// 0 (not listed) or the group 1 to 6 of a store file name: Inbox, Outbox, Sent Items, Deleted Items,
// Drafts, any other folder. The Japanese and the English names of the five special folders both count,
// so that a store from either system gets its group everywhere. The group is also the number of its
// picture in the chooser.
int ClassifyDbxFile(std::u16string_view name);

// The file name without its extension; a name that is all extension, such as ".dbx", keeps it.
std::u16string WithoutExtension(std::u16string_view name);

// A folder name as the mail client shows it, made fit for a folder as a subject is for a file name;
// nullopt for one no folder may take everywhere (empty, a device's name, "." or "..", too long).
std::optional<std::u16string> FolderNameText(std::u16string_view name);

// A level of the folder a store's mail goes to, as the folder list names it; `owner` is the folder's,
// the same for every store below it in the batch and no other's.
struct NamedLevel {
  std::uint64_t owner = 0;
  std::u16string text;
};

// One folder path for each store, relative to the run folder, its levels joined by the path separator:
// the store's named levels, from the top, when it has any, else its file name without the extension.
// A level takes "(k)" for the first free k on a clash with another in the same folder, and never the
// name of the deleted-mail folder its parent store may hold. Names that differ only in case clash, as
// they do on Windows, so that a run names its folders alike everywhere.
std::vector<std::u16string> SubfolderNames(const std::vector<std::u16string>& storePaths,
                                           const std::vector<std::vector<NamedLevel>>& named = {});
