// The bundled sample store gives back every message it was composed from, in file order.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

struct Entry {
  std::string file;
  std::string layout;
};

std::vector<Entry> ReadManifest(const std::filesystem::path& manifest) {
  std::ifstream in(manifest);
  std::vector<Entry> entries;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Entry entry;
    fields >> entry.file >> entry.layout;
    entries.push_back(entry);
  }
  return entries;
}

TEST(SampleStore, YieldsEveryMessageAndTheStaleCopyOnlyWithThePointerCheckOff) {
  const char* sampleDir = std::getenv("PALVENOR_SAMPLE_DIR");
  const char* sourceDir = std::getenv("PALVENOR_SAMPLE_SOURCE_DIR");
  if (sampleDir == nullptr || sourceDir == nullptr)
    GTEST_SKIP() << "PALVENOR_SAMPLE_DIR and PALVENOR_SAMPLE_SOURCE_DIR name the built store and its sources";
  const std::filesystem::path source(sourceDir);
  const auto entries = ReadManifest(source / "manifest.txt");
  ASSERT_FALSE(entries.empty());
  for (const bool skipPointerCheck : {false, true}) {
    testsupport::ResetRunFlags();
    testsupport::TempFolder temp;
    testsupport::RecordingUi ui(temp.Path().u16string());
    const auto run = testsupport::RunRecovery(std::filesystem::path(sampleDir) / "sample.dbx", ui, skipPointerCheck);
    std::vector<std::string> expected;
    for (const auto& entry : entries) {
      if (entry.layout == "stale" && !skipPointerCheck) continue;
      const auto bytes = testsupport::ReadFileBytes(source / "messages" / entry.file);
      expected.emplace_back(bytes.begin(), bytes.end());
    }
    EXPECT_EQ(run.files, expected) << "pointer check skipped: " << skipPointerCheck;
  }
  testsupport::ResetRunFlags();
}

}  // namespace
