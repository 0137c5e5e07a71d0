// Subjects that look like paths, devices or over-long names: every file stays in the output folder,
// named the same way on every platform, or keeps its working name where no platform may use the name.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/Utf.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

namespace fs = std::filesystem;

struct EscapeCase {
  std::string subject;
  std::string fileName;  // UTF-8; "Recover1.eml" where the name is refused
};

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(PathEscape, EveryFileStaysInTheOutputFolder) {
  const std::vector<EscapeCase> cases{
      {"../../x", ".._.._x.eml"},
      {"..\\..\\x", ".._.._x.eml"},
      {"C:\\Windows\\x", "C__Windows_x.eml"},
      {"/etc/passwd", "_etc_passwd.eml"},
      {"..", "...eml"},
      {"NUL", "Recover1.eml"},
      {"nul", "Recover1.eml"},
      {"CON.eml", "Recover1.eml"},
      {"Com1 .txt", "Recover1.eml"},
      {"LPT9", "Recover1.eml"},
      {"COM\u00B2", "Recover1.eml"},
      {"CONSOLE", "CONSOLE.eml"},
      {Repeat("a", 251), Repeat("a", 251) + ".eml"},  // 255 bytes with ".eml"
      {Repeat("a", 252), "Recover1.eml"},
      {Repeat("あ", 83), Repeat("あ", 83) + ".eml"},  // 249 + 4 bytes
      {Repeat("あ", 84), "Recover1.eml"},
      {Repeat("a", 400), "Recover1.eml"},
  };
  for (const EscapeCase& c : cases) {
    SCOPED_TRACE("subject " + c.subject);
    testsupport::TempFolder temp;
    const fs::path store = temp.Path() / "store.dbx";
    // The subject travels as a UTF-8 encoded word, so that each of its characters reaches the name.
    const std::string message = "Subject: =?utf-8?Q?" + [&] {
      std::string q;
      static const char* kHex = "0123456789ABCDEF";
      for (const unsigned char ch : c.subject) {
        q += '=';
        q += kHex[ch >> 4];
        q += kHex[ch & 15];
      }
      return q;
    }() + "?=\r\nDate: Sat, 6 Jul 2002 10:20:30 +0900\r\n\r\nbody\r\n";
    testsupport::DbxWriter writer;
    writer.AppendMessage(message);
    writer.Save(store);

    testsupport::RecordingUi ui(temp.Path().u16string());
    const testsupport::RunResult run = testsupport::RunRecovery(store, ui);
    ASSERT_EQ(run.outcome.result, RecoveryResult::Completed);
    ASSERT_EQ(run.files, std::vector<std::string>{message});

    std::set<fs::path> besideStore;
    for (const auto& entry : fs::directory_iterator(temp.Path())) besideStore.insert(entry.path());
    const fs::path folder(run.outcome.outputFolder);
    EXPECT_EQ(besideStore, (std::set<fs::path>{store, folder})) << "something was written outside the output folder";
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.push_back(platform::ToUtf8(entry.path().filename().u16string()));
    EXPECT_EQ(names, std::vector<std::string>{c.fileName});
  }
}

}  // namespace
