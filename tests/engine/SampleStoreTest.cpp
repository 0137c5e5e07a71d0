// The bundled sample store gives back every message it was composed from, in file order.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/Utf.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RealStores.h"
#include "tests/support/RecoveryRun.h"
#include "tests/support/SampleStore.h"

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

// The name each message's file gets; the same on every platform.
const std::map<std::string, std::string> kFinalNames = {
    {"01-iso2022jp-b.eml", "会議の日程について.eml"},
    {"02-iso2022jp-q.eml", "見積書送付のお知らせ.eml"},
    {"03-shiftjis-b.eml", "請求書（７月分）.eml"},
    {"04-eucjp-b.eml", "同窓会のご案内.eml"},
    {"05-utf8-b.eml", "写真を送ります 📷.eml"},
    {"06-raw-jis.eml", "お世話になっております.eml"},
    {"07-ascii.eml", "Weekly report.eml"},
    {"08-mixed.eml", "Re_ 打ち合わせ の件.eml"},
    {"09-deleted-shiftjis.eml", "削除したはずのメール.eml"},
    {"10-deleted-utf8-q.eml", "退会手続きの完了.eml"},
    {"11-backward.eml", "旅行の計画.eml"},
    {"12-scattered.eml", "研究会の資料.eml"},
    {"13-no-subject.eml", "(件名なし).eml"},
};

std::string FileNameOf(const MailRecord& record) {
  return platform::ToUtf8(record.FileName);
}

TEST(SampleStore, YieldsEveryMessageAndTheStaleCopyOnlyWithThePointerCheckOff) {
  const char* sourceDir = std::getenv("PALVENOR_SAMPLE_SOURCE_DIR");
  if (sourceDir == nullptr) GTEST_SKIP() << "PALVENOR_SAMPLE_SOURCE_DIR names the sample's messages and manifest";
  const std::filesystem::path source(testsupport::HostPath(sourceDir));
  const auto entries = ReadManifest(source / "manifest.txt");
  ASSERT_FALSE(entries.empty());

  // Composed here as the build composes it, so that every platform's run reads the same bytes.
  const testsupport::TempFolder storeFolder;
  const auto store = storeFolder.Path() / "sample.dbx";
  testsupport::ComposeSampleStore(source / "manifest.txt", source / "messages", store);
  if (const char* builtDir = std::getenv("PALVENOR_SAMPLE_DIR")) {
    EXPECT_EQ(testsupport::ReadFileBytes(std::filesystem::path(testsupport::HostPath(builtDir)) / "sample.dbx"),
              testsupport::ReadFileBytes(store));
  }

  for (const bool skipPointerCheck : {false, true}) {
    testsupport::TempFolder temp;
    testsupport::RecordingUi ui(temp.Path().u16string());
    const auto run = testsupport::RunRecovery(store, ui, skipPointerCheck);
    std::vector<std::string> expected;
    std::vector<std::string> expectedNames;
    for (const auto& entry : entries) {
      if (entry.layout == "stale" && !skipPointerCheck) continue;
      const auto bytes = testsupport::ReadFileBytes(source / "messages" / entry.file);
      expected.emplace_back(bytes.begin(), bytes.end());
      // The index lists neither the deleted messages nor the stale copy: they go apart as deleted mail,
      // where the stale copy's subject clashes with nothing.
      const bool deleted = entry.layout == "deleted" || entry.layout == "stale";
      expectedNames.push_back((deleted ? "削除済みメール/" : "") + kFinalNames.at(entry.file));
    }
    EXPECT_EQ(run.files, expected) << "pointer check skipped: " << skipPointerCheck;
    std::vector<std::string> names;
    for (const MailRecord& record : run.records)
      names.push_back((record.Deleted ? "削除済みメール/" : "") + FileNameOf(record));
    EXPECT_EQ(names, expectedNames) << "pointer check skipped: " << skipPointerCheck;
  }
}

}  // namespace
