#pragma once
// The run's writing: each kept message written once, unnamed or under a working name and then given its
// final name, dated from its header, with its bytes read again from the store.
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/scan/StoreReads.h"
#include "engine/scan/ThreadStart.h"
#include "engine/writing/MailRecord.h"
#include "engine/writing/SubjectStore.h"
#include "platform/Files.h"
#include "platform/OutputFolder.h"

struct MessageWriteFailure {
  std::u16string path;
  platform::OsError error;
  std::u16string leftover;  // the working file that could not be removed, if any
};

struct WritePhaseResult {
  std::int32_t written = 0;  // files made
  std::optional<MessageWriteFailure> failure;  // the write that ended the phase
};

// What the writing hands to the run, always on the calling thread: each file named, the progress and
// the points where the run handles pending events.
class WriteHost {
 public:
  virtual ~WriteHost() = default;
  // The record's file has its name, its record its FileName, Time and Status, and its subject is in the
  // target's subjects: in record order, while the other files are still being written.
  virtual void Named(std::size_t record) = 0;
  // The writer has gone past `passed` of `total` records; `written` of them are files.
  virtual void ShowProgress(std::size_t passed, std::size_t total, std::int32_t written) = 0;
  virtual void Pump() = 0;
};

// Where the phase writes: the run's folder, opened, and its path for the names of failed files; and
// where each written record's subject goes for the run's list, by record, when a list is made.
struct WriteTarget {
  const platform::OutputFolder& folder;
  const std::u16string& path;
  SubjectStore* subjects = nullptr;
};

// One thread reads the header of each kept record not deleted from the store (a short message whole, for
// the writer to write as read) and decides its name and time in record order, another writes each file
// unnamed or under a working name, and it or a third names it as decided (see StagedFile), never
// replacing an existing file, and gives each record whose file was written its FileName; a file that
// cannot be written whole is removed. A message whose first block can no longer be read is left
// unwritten. The calling thread only hands the progress to host and pumps its
// events until all are done. Every kept record is written unless stop is set (the phase then ends after
// the file being written, named) or a create, write or rename fails (it ends the phase). The threads are
// started through start; what any throws, or a failure to start one, is thrown here once all are
// joined. records is 1-based like MailRecords; scanLength is the store length the scan worked with.
WritePhaseResult WriteMessages(std::vector<MailRecord>& records, StoreReads& store,
                               std::int64_t scanLength, const WriteTarget& target, const std::atomic<bool>& stop,
                               WriteHost& host, const ThreadStart& start = StartThread);
