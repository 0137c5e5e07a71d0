#include "engine/DeletedPhase.h"

#include "engine/RunReport.h"
#include "engine/StatusPhases.h"
#include "engine/freed/FreedReport.h"
#include "engine/naming/MailFileTime.h"
#include "engine/writing/MessageReader.h"

DeletedPhaseResult WriteDeletedPhase(std::vector<MailRecord>& records, StoreReads& store, std::int64_t length,
                                     DeletedMailFolder& folder, const std::atomic<bool>& stop, RecoveryUi& ui,
                                     SubjectStore* subjects) {
  DeletedPhaseResult result;
  MessageReader reader(store, length);
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 1; i < records.size() && !stop; ++i) {
    MailRecord& record = records[i];
    if (record.Status == MailRecord::kRemoved || !record.Deleted) continue;
    bytes.clear();
    const bool whole = reader.Read(record.StartBlock, record.Length, record.Length, [&bytes](std::span<const std::uint8_t> piece) {
      bytes.insert(bytes.end(), piece.begin(), piece.end());
      return true;
    });
    if (bytes.empty() && !whole) continue;
    if (!whole) record.Status = MailRecord::kCutShort;
    const auto row = [&](const std::u16string& name) {
      return DeletedReportRow(name, record.StartBlock, static_cast<std::int64_t>(bytes.size()),
                              record.Status != MailRecord::kCutShort);
    };
    DeletedMailFile file;
    result.failure = folder.Write(bytes, row, result.files, file);
    if (result.failure) {
      ui.ShowMessage({WriteFailureText(result.failure->path, result.failure->error.text, result.failure->leftover,
                                       ui.TextLanguage()),
                      MessageIcon::Exclamation, MessageButtons::Ok, {}});
      break;
    }
    record.FileName = std::move(file.name);
    record.Time = file.date ? DateToFileTime(*file.date) : 0;
    if (subjects) subjects->Put(i, file.subject);
    result.senders.push_back(std::move(file.sender));
    ++result.written;
    ShowPercent(ui, RoundPercent(static_cast<double>(i), static_cast<double>(records.size() - 1)));
    ui.PumpEvents();
  }
  return result;
}
