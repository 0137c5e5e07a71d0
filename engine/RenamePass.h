#pragma once
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/MailRecord.h"
#include "engine/RecoveryUi.h"
#include "mailinfo/modMailInfo.h"

// What the header part of each message gave while it was written, by record index; nullopt (or no
// entry) where the file is to be read instead.
using WrittenHeaders = std::vector<std::optional<HeaderInfo>>;

// Dates every remaining message file from its header and renames it after its subject; ends before
// the next record once stop is set. Files it does not reach keep their working names. records is
// 1-based like MailRecords.
void RenameMessages(std::vector<MailRecord>& records, const std::u16string& folder, WrittenHeaders& headers,
                    const std::atomic<bool>& stop, RecoveryUi& ui);

// Fills Subject and ReceivedDate of records[index] from the header part of the file at path; an
// index outside the filled records changes nothing.
void AnalyseHeader(std::vector<MailRecord>& records, const std::u16string& path, std::int32_t index);
