// palvenor-cli: a thin entry point; the command itself is in clilib.
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "cli/CliTexts.h"
#include "cli/ExitStatus.h"
#include "cli/RunCli.h"
#include "cli/TextOutput.h"
#include "engine/naming/DecimalText.h"
#include "platform/Utf.h"

#ifdef _WIN32
// Wide arguments: file names that the ANSI code page cannot spell still arrive intact.
int wmain(int argc, wchar_t** argv) {
  cli::StandardOutput out(platform::StandardStream::Output);
  cli::StandardOutput err(platform::StandardStream::Error);
  const Language language = cli::UserLanguage();
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) {
    auto text = cli::ArgumentToUtf8(std::u16string(reinterpret_cast<const char16_t*>(argv[i])));
    if (!text) {
      err.Write(cli::CliText(cli::CliTextId::ArgumentNotUnicode, language, {DecimalText(i)}) + u'\n');
      return cli::kExitUsage;
    }
    args.push_back(std::move(*text));
  }
  return cli::RunCli(args, out, err, language);
}
#else
int main(int argc, char** argv) {
  cli::StandardOutput out(platform::StandardStream::Output);
  cli::StandardOutput err(platform::StandardStream::Error);
  return cli::RunCli(std::vector<std::string>(argv, argv + argc), out, err, cli::UserLanguage());
}
#endif
