#pragma once
// Stores named outside the DBX box: files dropped on the window and paths on the command line.
#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "windowtexts/WindowTexts.h"

// The message, in the language, that refuses the named stores, or nothing when they are one existing
// file, one folder, or several existing DBX files.
std::optional<std::u16string> StorePathRefusal(const std::vector<std::u16string>& paths, Language language);

// Paths as one text for the running window, and back; a NUL cannot be part of a path.
std::u16string JoinStorePaths(const std::vector<std::u16string>& paths);
std::vector<std::u16string> JoinedStorePaths(const std::u16string& joined);

// The arguments of a command line after the program's own name.
std::vector<std::u16string> CommandLinePaths(const wchar_t* commandLine);

// The files of a drop, in the order the shell lists them.
std::vector<std::u16string> DroppedPaths(HDROP drop);
