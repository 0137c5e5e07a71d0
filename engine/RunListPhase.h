#pragma once
// The run's list, 復元一覧.tsv: its rows for a store's run, and the file at the top of the run folder.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Texts.h"
#include "engine/freed/FreedOutput.h"
#include "engine/index/StoreIndex.h"
#include "engine/runlist/RunListRow.h"
#include "engine/writing/MailRecord.h"
#include "engine/writing/StagedFile.h"
#include "engine/writing/SubjectStore.h"
#include "platform/Files.h"
#include "platform/OutputFolder.h"

// A store's rows come in this order: each file written into the run folder, in record order, as the
// writing names it; then each file of the deleted-mail folder, deleted and then freed; then each
// missing message. Paths are relative to the store's folder.

// The row of a listed record whose file was written, borrowing its texts. Its sender comes from the
// index's record for it, when there is one.
RunListLine WrittenFileLine(const MailRecord& record, std::u16string_view subject, const ListedMessage* listed);

// Hands add the rows after the written files': a deleted record's sender comes from deletedSenders (one
// per deleted file, in record order), a freed one's from its header, a missing one's from the index.
void AddLaterListLines(const std::vector<MailRecord>& records, const SubjectStore& subjects,
                       const std::vector<ListedMessage>& missing, const std::vector<std::u16string>& deletedSenders,
                       const std::vector<FreedFileWritten>& freed, const std::function<void(const RunListLine&)>& add);

// The rows, with their paths under the store's subfolder of a batch's run folder.
void PutUnder(std::vector<RunListRow>& rows, const std::u16string& subfolder);

// The list file of a run folder, written as its rows come and given its name only once it is written
// whole (see StagedFile): a run cut off, or a disk that fails, leaves no list cut short to disagree with
// the files. Its text goes to the file a megabyte at a time, so that a list of a few rows is made at
// once, at the end, and a large one is written while the messages are. faults, when given, is consulted
// by the create, the writes and the naming.
class RunListWriter {
 public:
  RunListWriter(const std::u16string& folder, Language language, const platform::WriteFaultPlan& faults);
  RunListWriter(const RunListWriter&) = delete;
  RunListWriter& operator=(const RunListWriter&) = delete;

  // Once a write has failed, the rows are dropped: the failure is told by Finish.
  void Add(const RunListLine& row);
  // Whether a row was added.
  bool HasRows() const { return rows_ > 0; }
  // Writes the rest and names the file, giving its path; false, with the system's reason, when it could
  // not be written, and then no list is left.
  bool Finish(std::u16string& path, platform::OsError& error);

 private:
  // Hands the text gathered so far to the file.
  bool Hand();

  const std::u16string path_;
  const Language language_;
  platform::OsError error_;
  std::optional<platform::OutputFolder> folder_;
  std::optional<StagedFile> file_;  // of folder_, when it could be opened
  std::int32_t workingNumber_ = 1;
  std::string text_;
  std::int64_t rows_ = 0;
  bool failed_ = false;
};

// Writes the whole list into the folder at once, its path into path (see RunListWriter).
bool WriteRunListFile(const std::u16string& folder, std::span<const RunListRow> rows, Language language,
                      const platform::WriteFaultPlan& faults, std::u16string& path, platform::OsError& error);
