#pragma once
// Runs RecoverMails on a store file the way the tests need it: into a fresh temporary folder, with a
// recording user interface, collecting the working files and proving that the store was not changed.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/RecoveryRun.h"
#include "tests/support/RecordingUi.h"
#include "tests/support/ScratchFolder.h"

namespace testsupport {

// A folder that is removed with everything in it when it goes out of scope.
using TempFolder = ScratchFolder;

// Size, modification time and a digest of the contents (of the first 256 MiB) of a file.
struct FileSnapshot {
  std::uintmax_t size = 0;
  std::filesystem::file_time_type modified;
  std::uint64_t digest = 0;
  bool operator==(const FileSnapshot&) const = default;
};
FileSnapshot Snapshot(const std::filesystem::path& file);

struct RunResult {
  RecoveryOutcome outcome;
  // Contents of the files written for the remaining messages, in extraction order.
  std::vector<std::string> files;
  std::vector<MailRecord> records;  // the run's MailRecords without its unused element 0
};

// The file a record's message was written to: deleted mail lies in the deleted-mail folder.
inline std::filesystem::path FileOf(const RunResult& run, const MailRecord& record) {
  const std::filesystem::path folder(run.outcome.outputFolder);
  return (record.Deleted ? folder / std::filesystem::path(u"削除済みメール") : folder) /
         std::filesystem::path(record.FileName);
}

// Runs a recovery of store into a new folder under the ui's output parent and adds a test failure
// when the store's bytes or modification time changed.
RunResult RunRecovery(const std::filesystem::path& store, RecordingUi& ui, RecoveryRun& run);
RunResult RunRecovery(const std::filesystem::path& store, RecordingUi& ui, bool skipPointerCheck = false);

}  // namespace testsupport
