#pragma once
// The store files of a folder as the system's directory listing returns them.
#include <string>
#include <vector>

#include "chooser/DbxFiles.h"

// The ordinary files matching folder + "\*.dbx", in listing order: hidden and system files and
// sub-folders are left out, read-only and archive files are not. Empty when the folder is missing.
std::vector<DbxFileEntry> ListDbxFolder(const std::u16string& folder);
