#pragma once
// Renaming that never replaces an existing entry, shared by the paths and the run's open folder.

namespace platform::posix {

// Renames from to to, each relative to folder (a folder's descriptor, or AT_FDCWD), never replacing an
// existing entry: 0, or the errno of the failure, EEXIST when to is taken.
int RenameNoReplaceAt(int folder, const char* from, const char* to);

}  // namespace platform::posix
