#pragma once
// Names taken from a store's path: whether it is one, whether it holds mail by its name, and the folder
// its mail goes to in a run over several.
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

// One folder name for each store: its file name without the extension, with "(k)" added for the first
// free k on a clash. Names that differ only in ASCII case clash, as they do on Windows, so that a run
// names its folders alike everywhere.
std::vector<std::u16string> SubfolderNames(const std::vector<std::u16string>& storePaths);
