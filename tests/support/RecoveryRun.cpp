#include "tests/support/RecoveryRun.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string_view>

#include "tests/support/DbxWriter.h"

namespace testsupport {

FileSnapshot Snapshot(const std::filesystem::path& file) {
  FileSnapshot snapshot{std::filesystem::file_size(file), std::filesystem::last_write_time(file), 0};
  std::ifstream in(file, std::ios::binary);
  std::vector<char> chunk(1 << 20);
  std::uint64_t digest = 1469598103934665603ull;
  // Sparse stores of several GiB are digested over their first 256 MiB only; size and time cover the rest.
  for (int chunks = 0; chunks < 256 && (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) ||
                                        in.gcount() > 0);
       ++chunks) {
    const std::string_view piece(chunk.data(), static_cast<std::size_t>(in.gcount()));
    digest = (digest ^ std::hash<std::string_view>{}(piece)) * 1099511628211ull;
  }
  snapshot.digest = digest;
  return snapshot;
}

RunResult RunRecovery(const std::filesystem::path& store, RecordingUi& ui, RecoveryRun& run) {
  const bool exists = std::filesystem::exists(store);
  const FileSnapshot before = exists ? Snapshot(store) : FileSnapshot{};
  ui.run = &run;
  RunResult result;
  result.outcome = RecoverMails(store.u16string(), run, ui);
  if (exists) {
    EXPECT_EQ(Snapshot(store), before) << "the store changed during the run";
  }
  for (std::size_t i = 1; i < run.MailRecords.size(); ++i) {
    const MailRecord& record = run.MailRecords[i];
    if (record.Status == 0 || record.FileName.empty()) continue;
    const auto bytes = ReadFileBytes(FileOf(result, record));
    result.files.emplace_back(bytes.begin(), bytes.end());
  }
  result.records.assign(run.MailRecords.begin() + 1, run.MailRecords.end());
  return result;
}

RunResult RunRecovery(const std::filesystem::path& store, RecordingUi& ui, bool skipPointerCheck) {
  RecoveryRun run(RunOptions{skipPointerCheck, true});
  return RunRecovery(store, ui, run);
}

}  // namespace testsupport
