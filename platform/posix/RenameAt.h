#pragma once
// Renaming that never replaces an existing entry, shared by the paths and the run's open folder.

namespace platform::posix {

// Renames from to to, each relative to folder (a folder's descriptor, or AT_FDCWD), never replacing an
// existing entry: 0, or the errno of the failure, EEXIST when to is taken. Where the file system has
// neither renames that refuse to replace nor hard links (VirtualBox shared folders, cloud drives mounted
// through FUSE), it looks before a plain rename: only an entry made between the two by another program
// could then be replaced, and the run writes into a folder of its own. plainOnly: act as on such a file
// system (a test's fault plan).
int RenameNoReplaceAt(int folder, const char* from, const char* to, bool plainOnly = false);

}  // namespace platform::posix
