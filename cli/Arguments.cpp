#include "cli/Arguments.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <span>
#include <sstream>
#include <variant>

#include "cli/CliTexts.h"
#include "cli/DdrescueMap.h"
#include "cli/ExitStatus.h"
#include "engine/naming/DecimalText.h"
#include "platform/Files.h"
#include "platform/Utf.h"

namespace cli {
namespace {

ParsedArguments UsageError(const std::u16string& message, Language language) {
  ParsedArguments parsed;
  parsed.exitStatus = kExitUsage;
  parsed.errText = message + u'\n' + CliText(CliTextId::MoreInformation, language) + u'\n';
  return parsed;
}

// The first option the parser did not know, if any: every other argument is a store. CLI11 would name
// a missing DBXFILE first, which hides the real mistake. It also keeps the "--" that ends the options.
std::optional<ParsedArguments> UnknownOption(const CLI::App& app, Language language) {
  for (const std::string& argument : app.remaining()) {
    if (argument != "--" && argument.starts_with('-'))
      return UsageError(CliText(CliTextId::UnknownOption, language, {platform::FromPathBytes(argument)}), language);
  }
  return std::nullopt;
}

// The parser's own messages are English only; the mistakes this command line allows get texts of their own.
std::u16string ParseErrorText(const CLI::ParseError& error, Language language) {
  if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) return CliText(CliTextId::StoreMissing, language);
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
    // --output, --list and --bad-map are the options that take a value.
    const std::string_view what = error.what();
    if (what.find("--bad-map") != std::string_view::npos)
      return CliText(CliTextId::WrongArguments, language, {platform::FromUtf8(error.what())});
    return CliText(CliTextId::FolderNameMissing, language,
                   {what.find("--list") != std::string_view::npos ? u"--list" : u"--output"});
  }
  return CliText(CliTextId::WrongArguments, language, {platform::FromUtf8(error.what())});
}

// The headings and labels CLI11 writes into --help.
void LabelHelp(CLI::App& app, Language language) {
  static constexpr struct {
    const char* key;
    CliTextId text;
  } kLabels[] = {{"Usage", CliTextId::UsageLabel},
                 {"OPTIONS", CliTextId::OptionsLabel},
                 {"Positionals", CliTextId::PositionalsHeading},
                 {"REQUIRED", CliTextId::RequiredLabel}};
  for (const auto& label : kLabels) app.get_formatter()->label(label.key, CliTextUtf8(label.text, language));
  app.option_defaults()->group(CliTextUtf8(CliTextId::OptionsHeading, language));
  // Made again, after the group, so that it is listed under the heading in the language.
  app.set_help_flag("-h,--help", CliTextUtf8(CliTextId::HelpOption, language));
}

// The text of a small file; nullopt when it cannot be opened or read.
std::optional<std::string> ReadSmallFile(const std::u16string& path, platform::OsError& error) {
  constexpr std::int64_t kLongest = 64 << 20;  // ddrescue's maps of the worst disks stay far below
  const std::optional<platform::StoreFile> file = platform::StoreFile::Open(path, error);
  if (!file) return std::nullopt;
  std::string text(static_cast<std::size_t>(std::clamp<std::int64_t>(file->Length(), 0, kLongest)), '\0');
  const std::int64_t got = file->ReadAt(0, std::span(reinterpret_cast<std::uint8_t*>(text.data()), text.size()));
  if (got < 0) return std::nullopt;
  text.resize(static_cast<std::size_t>(got));
  return text;
}

// The unreadable ranges of the map file, or the usage error that refuses it. Read before any folder is
// made, so that a mistake in the map costs nothing.
std::variant<std::vector<platform::ByteRange>, ParsedArguments> ReadBadMap(const std::u16string& path,
                                                                           Language language) {
  platform::OsError error;
  const std::optional<std::string> text = ReadSmallFile(path, error);
  if (!text) {
    std::u16string message = CliText(CliTextId::BadMapUnreadable, language, {path});
    if (!error.text.empty()) message += u'\n' + CliText(CliTextId::Reason, language, {error.text});
    return UsageError(message, language);
  }
  DdrescueMap map = ParseDdrescueMap(*text);
  if (map.malformedLine > 0)
    return UsageError(CliText(CliTextId::BadMapMalformed, language, {path, DecimalText(map.malformedLine)}), language);
  return std::move(map.unreadable);
}

}  // namespace

std::optional<std::string> ArgumentToUtf8(const std::u16string& argument) {
  std::string text = platform::ToUtf8(argument);
  if (platform::FromUtf8(text) != argument) return std::nullopt;
  return text;
}

ParsedArguments ParseArguments(const std::vector<std::string>& args, Language language) {
  CLI::App app{CliTextUtf8(CliTextId::Description, language), "palvenor-cli"};
  LabelHelp(app, language);
  std::string output;
  std::vector<std::string> storePaths;
  bool skipPointerCheck = false;
  bool noFreed = false;
  bool noIndex = false;
  bool quiet = false;
  std::string badMap;
  std::string listFolder;
  bool deletedOnly = false;
  app.add_option("--output", output, CliTextUtf8(CliTextId::OutputOption, language))
      ->type_name(CliTextUtf8(CliTextId::FolderValueName, language));
  app.add_flag("--no-pointer-check", skipPointerCheck, CliTextUtf8(CliTextId::PointerCheckOption, language));
  app.add_flag("--no-freed", noFreed, CliTextUtf8(CliTextId::NoFreedOption, language));
  app.add_flag("--no-index", noIndex, CliTextUtf8(CliTextId::NoIndexOption, language));
  app.add_flag("--quiet", quiet, CliTextUtf8(CliTextId::QuietOption, language));
  app.add_option("--bad-map", badMap, CliTextUtf8(CliTextId::BadMapOption, language))
      ->type_name(CliTextUtf8(CliTextId::MapValueName, language));
  app.add_option("--list", listFolder, CliTextUtf8(CliTextId::ListOption, language))
      ->type_name(CliTextUtf8(CliTextId::RunFolderValueName, language));
  app.add_flag("--deleted-only", deletedOnly, CliTextUtf8(CliTextId::DeletedOnlyOption, language));
  CLI::Option* stores = app.add_option("DBXFILE|FOLDER", storePaths, CliTextUtf8(CliTextId::StoresArgument, language))
                            ->type_name(CliTextUtf8(CliTextId::PathValueName, language));
  // Listing a run folder recovers nothing, so it needs no store.
  const bool listGiven =
      std::ranges::any_of(args, [](const std::string& arg) { return arg == "--list" || arg.starts_with("--list="); });
  if (!listGiven) stores->required();
  app.set_version_flag("--version", PALVENOR_VERSION, CliTextUtf8(CliTextId::VersionOption, language));
  // On Windows CLI11 would take "/x" for an option; a store path may well be written with slashes.
  app.allow_windows_style_options(false);
  app.footer(ExitStatusHelp(language));

  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  std::ostringstream out;
  std::ostringstream err;
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::ParseError& error) {
    const bool asked = error.get_exit_code() == 0;  // --help or --version
    if (asked) {
      ParsedArguments parsed;
      app.exit(error, out, err);
      parsed.outText = platform::FromUtf8(out.str());
      return parsed;
    }
    if (auto unknown = UnknownOption(app, language)) return *unknown;
    return UsageError(ParseErrorText(error, language), language);
  }
  if (app.count("--output") > 0 && output.empty())
    return UsageError(CliText(CliTextId::FolderNameEmpty, language, {u"--output"}), language);
  const bool listing = app.count("--list") > 0;
  if (listing && listFolder.empty())
    return UsageError(CliText(CliTextId::FolderNameEmpty, language, {u"--list"}), language);
  if (listing && !storePaths.empty()) return UsageError(CliText(CliTextId::ListTakesNoStore, language), language);
  if (!listing && deletedOnly) return UsageError(CliText(CliTextId::DeletedOnlyNeedsList, language), language);

  CliOptions options;
  if (app.count("--output") > 0) options.outputFolder = platform::FromPathBytes(output);
  options.skipPointerCheck = skipPointerCheck;
  options.recoverFreed = !noFreed;
  options.useIndex = !noIndex;
  options.quiet = quiet;
  if (listing) options.listFolder = platform::FromPathBytes(listFolder);
  options.deletedOnly = deletedOnly;
  for (const std::string& path : storePaths) options.storePaths.push_back(platform::FromPathBytes(path));
  if (app.count("--bad-map") > 0) {
    if (options.storePaths.size() != 1) return UsageError(CliText(CliTextId::BadMapNeedsOneStore, language), language);
    auto ranges = ReadBadMap(platform::FromPathBytes(badMap), language);
    if (auto* refused = std::get_if<ParsedArguments>(&ranges)) return std::move(*refused);
    options.unreadableRanges = std::get<std::vector<platform::ByteRange>>(std::move(ranges));
  }
  return ParsedArguments{options, kExitCompleted, {}, {}};
}

}  // namespace cli
