#pragma once
// The run's list, 復元一覧.tsv: its rows for a store's run, and the file at the top of the run folder.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/Texts.h"
#include "engine/freed/FreedOutput.h"
#include "engine/index/StoreIndex.h"
#include "engine/runlist/RunListRow.h"
#include "engine/writing/MailRecord.h"
#include "platform/Files.h"

// A row for each file written, listed, deleted and freed, in that order, then one for each missing
// message; a record without a file gets none. Paths are relative to the store's folder. A listed or
// missing message's sender comes from the index (the whole one, or none), a deleted one's from
// deletedSenders (one per deleted file, in record order), a freed one's from its header. The subjects,
// by record, move into the rows.
std::vector<RunListRow> StoreListRows(const std::vector<MailRecord>& records, std::vector<std::u16string>& subjects,
                                      const StoreIndex* index,
                                      const std::vector<ListedMessage>& missing,
                                      const std::vector<std::u16string>& deletedSenders,
                                      const std::vector<FreedFileWritten>& freed);

// The rows, with their paths under the store's subfolder of a batch's run folder.
void PutUnder(std::vector<RunListRow>& rows, const std::u16string& subfolder);

// Writes the list into the folder, its path into path, giving it its name only once it is written whole
// (see StagedFile); false, with the system's reason, when it could not be, and then no list is left.
// faults, when given, is consulted by the create, the writes and the naming.
bool WriteRunListFile(const std::u16string& folder, std::span<const RunListRow> rows, Language language,
                      const platform::WriteFaultPlan& faults, std::u16string& path, platform::OsError& error);
