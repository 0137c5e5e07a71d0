#include "cli/Arguments.h"

#include <CLI/CLI.hpp>
#include <sstream>

#include "cli/ExitStatus.h"
#include "platform/Utf.h"

namespace cli {
namespace {

ParsedArguments UsageError(const std::u16string& message) {
  ParsedArguments parsed;
  parsed.exitStatus = kExitUsage;
  parsed.errText = message + u"\nRun with --help for more information.\n";
  return parsed;
}

// The first option the parser did not know, if any: every other argument is a store. CLI11 would name
// a missing DBXFILE first, which hides the real mistake. It also keeps the "--" that ends the options.
std::optional<ParsedArguments> UnknownOption(const CLI::App& app) {
  for (const std::string& argument : app.remaining()) {
    if (argument != "--" && argument.starts_with('-'))
      return UsageError(u"Unknown option: " + platform::FromPathBytes(argument));
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ArgumentToUtf8(const std::u16string& argument) {
  std::string text = platform::ToUtf8(argument);
  if (platform::FromUtf8(text) != argument) return std::nullopt;
  return text;
}

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
  CLI::App app{"Recovers the mail in Outlook Express DBX files, deleted messages included, into one .eml file "
               "per message, in a new folder \"メール復元\" + date and time. With several stores, each store's "
               "mail goes into a folder of its own in it, named after the store.",
               "palvenor-cli"};
  std::string output;
  std::vector<std::string> storePaths;
  bool skipPointerCheck = false;
  bool noFreed = false;
  bool quiet = false;
  app.add_option("--output", output, "Folder in which the output folder is created (default: the documents folder)")
      ->type_name("DIR");
  app.add_flag("--no-pointer-check", skipPointerCheck,
               "Skip the validity check of block pointers; also finds stale copies of messages");
  app.add_flag("--no-freed", noFreed,
               "Do not recover the messages left in blocks that Outlook Express freed (written to the subfolder "
               "\"削除済みメール\" with the report \"復元レポート.tsv\")");
  app.add_flag("--quiet", quiet, "Show no progress");
  app.add_option("DBXFILE|FOLDER", storePaths,
                 "The DBX files to recover from, and folders meaning every *.dbx directly in them; they are only read")
      ->required();
  app.set_version_flag("--version", PALVENOR_VERSION);
  // On Windows CLI11 would take "/x" for an option; a store path may well be written with slashes.
  app.allow_windows_style_options(false);
  app.footer(ExitStatusHelp());

  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  std::ostringstream out;
  std::ostringstream err;
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::ParseError& error) {
    const bool asked = error.get_exit_code() == 0;  // --help or --version
    if (auto unknown = UnknownOption(app); unknown && !asked) return *unknown;
    ParsedArguments parsed;
    parsed.exitStatus = app.exit(error, out, err) == 0 ? kExitCompleted : kExitUsage;
    parsed.outText = platform::FromUtf8(out.str());
    parsed.errText = platform::FromUtf8(err.str());
    return parsed;
  }
  if (app.count("--output") > 0 && output.empty()) return UsageError(u"--output: the folder name is empty.");

  CliOptions options;
  if (app.count("--output") > 0) options.outputFolder = platform::FromPathBytes(output);
  options.skipPointerCheck = skipPointerCheck;
  options.recoverFreed = !noFreed;
  options.quiet = quiet;
  for (const std::string& path : storePaths) options.storePaths.push_back(platform::FromPathBytes(path));
  return ParsedArguments{options, kExitCompleted, {}, {}};
}

}  // namespace cli
