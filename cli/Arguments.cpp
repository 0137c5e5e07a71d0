#include "cli/Arguments.h"

#include <CLI/CLI.hpp>
#include <sstream>

#include "cli/ExitStatus.h"
#include "platform/Utf.h"

namespace cli {
namespace {

constexpr const char* kExitStatusHelp =
    "Exit status:\n"
    "  0    the run completed, whether or not mail was found\n"
    "  1    an internal failure\n"
    "  2    wrong arguments\n"
    "  3    the DBX file could not be opened\n"
    "  4    the output folder could not be created\n"
    "  5    a recovered message could not be written (what was written is kept)\n"
    "  130  stopped by Ctrl-C (what was recovered so far is kept)\n";

bool IsUtf8(const std::string& text) { return platform::ToUtf8(platform::FromUtf8(text)) == text; }

ParsedArguments UsageError(const std::string& message) {
  ParsedArguments parsed;
  parsed.exitStatus = kExitUsage;
  parsed.errText = platform::FromUtf8(message + "\nRun with --help for more information.\n");
  return parsed;
}

}  // namespace

std::optional<std::string> ArgumentToUtf8(const std::u16string& argument) {
  std::string text = platform::ToUtf8(argument);
  if (platform::FromUtf8(text) != argument) return std::nullopt;
  return text;
}

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    // A name that does not survive the trip to text would open some other file, or none.
    if (!IsUtf8(args[i])) return UsageError("Argument " + std::to_string(i) + " is not valid UTF-8.");
  }

  CLI::App app{"Recovers the mail in an Outlook Express DBX file, deleted messages included, into one .eml file "
               "per message, in a new folder \"メール復元\" + date and time.",
               "palvenor-cli"};
  std::string output;
  std::string dbxPath;
  bool skipPointerCheck = false;
  bool quiet = false;
  app.add_option("--output", output, "Folder in which the output folder is created (default: the documents folder)")
      ->type_name("DIR");
  app.add_flag("--no-pointer-check", skipPointerCheck,
               "Skip the validity check of block pointers; also finds stale copies of messages");
  app.add_flag("--quiet", quiet, "Show no progress");
  app.add_option("DBXFILE", dbxPath, "The DBX file to recover from; it is only read")->required();
  app.set_version_flag("--version", PALVENOR_VERSION);
  // On Windows CLI11 would take "/x" for an option; a store path may well be written with slashes.
  app.allow_windows_style_options(false);
  app.footer(kExitStatusHelp);

  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  std::ostringstream out;
  std::ostringstream err;
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::ParseError& error) {
    ParsedArguments parsed;
    parsed.exitStatus = app.exit(error, out, err) == 0 ? kExitCompleted : kExitUsage;
    parsed.outText = platform::FromUtf8(out.str());
    parsed.errText = platform::FromUtf8(err.str());
    return parsed;
  }
  if (app.count("--output") > 0 && output.empty()) return UsageError("--output: the folder name is empty.");

  CliOptions options;
  if (app.count("--output") > 0) options.outputFolder = platform::FromUtf8(output);
  options.skipPointerCheck = skipPointerCheck;
  options.quiet = quiet;
  options.dbxPath = platform::FromUtf8(dbxPath);
  return ParsedArguments{options, kExitCompleted, {}, {}};
}

}  // namespace cli
