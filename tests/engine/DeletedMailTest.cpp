// The store's own index at work in a run: listed mail in the run folder, deleted mail apart with the
// freed, and what the index lists but the scan did not find, reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "engine/runlist/RunListFile.h"
#include "platform/Utf.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/FileTimesProbe.h"
#include "tests/support/RealStores.h"
#include "tests/support/RecoveryRun.h"

namespace {

using testsupport::DbxWriter;
using testsupport::MakeMessage;

constexpr std::uint64_t kListedTime = 126632176770000000;  // 2002-04-14 00:27:57 UTC

struct Store {
  DbxWriter writer;
  std::vector<std::int64_t> listed;  // the first blocks the index lists
  std::string realStore;
};

std::int64_t Listed(Store& s, const char* subject) {
  const std::int64_t first = s.writer.AppendMessage(MakeMessage(subject, 700)).blockOffsets.front();
  s.listed.push_back(first);
  return first;
}

void Orphan(Store& s, const char* subject) { s.writer.AppendMessage(MakeMessage(subject, 700)); }

void Freed(Store& s, const char* subject) { s.writer.FreeMessage(s.writer.AppendMessage(MakeMessage(subject, 700))); }

void Index(Store& s) {
  std::vector<std::int64_t> records;
  for (std::int64_t first : s.listed) records.push_back(s.writer.AppendMessageInfo({first, "s", "from", kListedTime, false}));
  s.writer.AppendIndex(records, 2);
}

// The messages' files under the run folder, its subfolder's with their folder, in order.
std::vector<std::string> Files(const std::u16string& runFolder) {
  std::vector<std::string> files;
  if (runFolder.empty()) return files;
  const std::filesystem::path folder(runFolder);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.path().extension() == ".eml")
      files.push_back(reinterpret_cast<const char*>(entry.path().lexically_relative(folder).generic_u8string().c_str()));
  std::sort(files.begin(), files.end());
  return files;
}

TEST(DeletedMail, GoesApartWhenTheIndexIsWholeAndWhatItListsButLacksIsCounted) {
  const struct {
    const char* name;
    std::function<void(Store&)> make;
    bool skipPointerCheck;
    bool useIndex;
    std::vector<std::string> files;
    std::string sentences;  // what the index adds to the report
    int listRows;           // -1: no list
    std::uint64_t firstFileTime = 0;  // when given, the first file's
  } cases[] = {
      {"listed, orphaned, freed and overwritten", [](Store& s) {
         Listed(s, "listed"), Orphan(s, "orphan"), Freed(s, "freed");
         s.listed.push_back(s.writer.AppendNoise(1200, 7));
         Index(s); }, false, true,
       {"listed.eml", "削除済みメール/freed.eml", "削除済みメール/orphan.eml"},
       "Deleted mail written apart into 削除済みメール: 1 of them. 1 of the 2 messages the store lists were not found.", 4},
      {"a stale copy that stores the listed offset is deleted mail", [](Store& s) {
         const std::int64_t stale = s.writer.Reserve(2 * 0x210);
         const std::int64_t first = Listed(s, "listed");
         s.writer.PlaceMessage(MakeMessage("stale", 700), {stale, stale + 0x210}, static_cast<std::int32_t>(first - stale));
         Index(s); }, true, true,
       {"listed.eml", "削除済みメール/stale.eml"}, "Deleted mail written apart into 削除済みメール: 1 of them.", 2},
      {"a listed offset inside another message", [](Store& s) {
         s.listed.push_back(s.writer.AppendMessage(MakeMessage("inside", 700)).blockOffsets[1]);
         Index(s); }, false, true,
       {"削除済みメール/inside.eml"},
       "Deleted mail written apart into 削除済みメール: 1 of them. 1 of the 1 messages the store lists were not found.", 2},
      {"deleted and freed mail share one name set", [](Store& s) {
         Listed(s, "same"), Orphan(s, "same"), Freed(s, "same"), Index(s); }, false, true,
       {"same.eml", "削除済みメール/same(1).eml", "削除済みメール/same.eml"},
       "Deleted mail written apart into 削除済みメール: 1 of them.", 3},
      {"a damaged index keeps the layout", [](Store& s) {
         Listed(s, "listed"), Orphan(s, "orphan"), Index(s);
         s.writer.PokeInt32(s.writer.PeekInt32(0xE4), 4); }, false, true,
       {"listed.eml", "orphan.eml"}, "The store's message list could not be read, so deleted mail is not kept apart.", -1},
      {"a whole, empty index: everything is deleted mail", [](Store& s) {
         Orphan(s, "orphan"), Index(s); }, false, true,
       {"削除済みメール/orphan.eml"}, "The store lists no mail, so every message found was written as deleted mail.", 1},
      {"a listed message without a date takes the index's", [](Store& s) {
         s.listed.push_back(s.writer.AppendMessage("Subject: undated\r\n\r\nbody\r\n").blockOffsets.front());
         Index(s); }, false, true, {"undated.eml"}, "", 1, kListedTime},
      {"--no-index", [](Store& s) { Listed(s, "listed"), Orphan(s, "orphan"), Index(s); }, false, false,
       {"listed.eml", "orphan.eml"}, "", -1},
      {"test.dbx with the pointer check off", [](Store& s) { s.realStore = "MailTransportDbx_test.dbx"; }, true, true,
       {"Please read you won't be sorry.........eml", "削除済みメール/[fmII] centericq 4.7.5 released (Default branch).eml"},
       "Deleted mail written apart into 削除済みメール: 1 of them.", 2},
      {"test1.dbx", [](Store& s) { s.realStore = "MailTransportDbx_test1.dbx"; }, false, true,
       {"[fmII] centericq 4.7.5 released (Default branch).eml"}, "", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::TempFolder temp;
    Store s;
    c.make(s);
    std::filesystem::path path = temp.Path() / "store.dbx";
    if (!s.realStore.empty()) {
      const auto real = testsupport::RealStore(s.realStore);
      if (!real) continue;
      path = *real;
    } else {
      s.writer.Save(path);
    }
    testsupport::RecordingUi ui(temp.Path().u16string());
    RunOptions options{c.skipPointerCheck, true};
    options.UseIndex = c.useIndex;
    RecoveryRun run(options);
    const testsupport::RunResult result = testsupport::RunRecovery(path, ui, run);
    EXPECT_EQ(Files(result.outcome.outputFolder), c.files);
    EXPECT_EQ(platform::ToUtf8(IndexText(result.outcome, Language::English)), c.sentences);
    if (c.firstFileTime != 0) {
      const auto times = testsupport::ReadFileTimes((std::filesystem::path(result.outcome.outputFolder) / c.files[0]).u16string());
      EXPECT_EQ(times ? times->lastWrite : 0, c.firstFileTime);
    }
    platform::OsError error;
    const std::optional<RunList> list = ReadRunListFile(result.outcome.outputFolder, error);
    EXPECT_EQ(list ? static_cast<int>(list->rows.size()) : -1, c.listRows);
    if (list) {
      EXPECT_EQ(list->rows.size(), c.files.size() + static_cast<std::size_t>(result.outcome.missingCount));
      // A listed message names its sender from the index, a deleted one from its header (a freed one's
      // lost the "From" with the first 4 bytes of its block).
      for (const RunListRow& row : list->rows)
        if (row.state == RunListState::Listed || row.state == RunListState::Deleted) {
          EXPECT_FALSE(row.sender.empty()) << platform::ToUtf8(row.path);
        }
    }
  }
}

// A list of more than a megabyte goes to its file in pieces while the messages are written: each
// file still has its row, in the order of the files, with its whole subject.
TEST(DeletedMail, ALongListHasEachFileInOrder) {
  constexpr int kListed = 400;
  Store s;
  std::vector<std::string> subjects;
  for (int i = 0; i < kListed; ++i) {
    subjects.push_back(std::to_string(1000 + i) + std::string(3000, 'x'));
    s.listed.push_back(s.writer.AppendMessage(MakeMessage(subjects.back(), 100)).blockOffsets.front());
  }
  Orphan(s, "orphan");
  Index(s);
  testsupport::TempFolder temp;
  s.writer.Save(temp.Path() / "store.dbx");
  testsupport::RecordingUi ui(temp.Path().u16string());
  const testsupport::RunResult result = testsupport::RunRecovery(temp.Path() / "store.dbx", ui);
  platform::OsError error;
  const std::optional<RunList> list = ReadRunListFile(result.outcome.outputFolder, error);
  ASSERT_TRUE(list);
  ASSERT_EQ(list->rows.size(), kListed + 1u);
  for (int i = 0; i < kListed; ++i) {
    const RunListRow& row = list->rows[static_cast<std::size_t>(i)];
    EXPECT_EQ(platform::ToUtf8(row.subject), subjects[static_cast<std::size_t>(i)]);
    EXPECT_TRUE(std::filesystem::exists(RunListFilePath(result.outcome.outputFolder, row))) << i;
  }
  EXPECT_EQ(list->rows.back().state, RunListState::Deleted);
}

}  // namespace
