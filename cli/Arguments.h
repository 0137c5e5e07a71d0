#pragma once
// palvenor-cli [--output DIR] [--no-pointer-check] [--no-freed] [--no-index] [--quiet] [--bad-map MAPFILE] DBXFILE|FOLDER...
// palvenor-cli --list RUNFOLDER [--deleted-only]
#include <optional>
#include <string>
#include <vector>

#include "engine/Texts.h"
#include "platform/ByteRange.h"

namespace cli {

struct CliOptions {
  std::optional<std::u16string> outputFolder;  // the documents folder when absent
  bool skipPointerCheck = false;
  bool recoverFreed = true;
  bool useIndex = true;
  bool quiet = false;
  std::vector<platform::ByteRange> unreadableRanges;  // from --bad-map
  std::vector<std::u16string> storePaths;  // stores and folders of stores, at least one unless listing
  std::optional<std::u16string> listFolder;  // --list: print that run folder's list instead of recovering
  bool deletedOnly = false;
};

// Either options to run with, or the text to print and the status to exit with (--help, --version,
// a usage error).
struct ParsedArguments {
  std::optional<CliOptions> options;
  int exitStatus = 0;
  std::u16string outText;
  std::u16string errText;
};

// args[0] is the program's name. Paths are taken as the system gives them: bytes on POSIX, where a name
// need not be UTF-8; on Windows the UTF-8 of the wide argument. --help and the errors are in the language.
ParsedArguments ParseArguments(const std::vector<std::string>& args, Language language);

// A Windows argument as UTF-8 for the parser; nullopt when it holds a lone surrogate, which no UTF-8
// text can carry back.
std::optional<std::string> ArgumentToUtf8(const std::u16string& argument);

}  // namespace cli
