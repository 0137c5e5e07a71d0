#include "engine/RenamePass.h"

#include <optional>

#include "engine/DateText.h"
#include "engine/FileNaming.h"
#include "engine/RecoveryText.h"
#include "engine/Texts.h"
#include "engine/StatusPhases.h"
#include "engine/modCommon.h"
#include "engine/modTimeStamp.h"
#include "platform/Files.h"

namespace {

// Renames to text + ".eml", or with the first free clash suffix; nullopt leaves the working name.
std::optional<std::u16string> RenameAfterSubject(const std::u16string& from, const std::u16string& folder,
                                                 const std::u16string& text, ClashSuffixes& suffixes) {
  if (IsRefusedNameText(text)) return std::nullopt;
  for (std::int32_t k = 0;;) {
    const std::optional<std::u16string> name = SuffixedFileName(text, k);
    if (!name) return std::nullopt;
    const std::u16string target = JoinPath(folder, *name);
    platform::OsError ignored;
    switch (platform::RenameNoReplace(from, target, ignored)) {
      case platform::RenameResult::Renamed:
        if (k > 0) suffixes.Taken(text, k);
        return target;
      case platform::RenameResult::TargetExists:
        k = k == 0 ? suffixes.FirstCandidate(text) : k + 1;
        break;
      case platform::RenameResult::Failed:
        return std::nullopt;
    }
  }
}

void Fill(MailRecord& record, HeaderInfo info) {
  record.Subject = std::move(info.Subject);
  record.ReceivedDate = std::move(info.ReceivedDate);
}

void StampTimes(const MailRecord& record) {
  const std::optional<MailDate> date = DateTextToDate(record.ReceivedDate);
  if (!date) return;
  SetCreationAndLastWriteTime(record.FilePath, *date);
}

}  // namespace

void RenameMessages(std::vector<MailRecord>& records, const std::u16string& folder, WrittenHeaders& headers,
                    const std::atomic<bool>& stop, RecoveryUi& ui) {
  const std::size_t recordCount = records.size() - 1;
  ClashSuffixes suffixes;
  std::int32_t renamed = 0;
  for (std::size_t i = 1; i <= recordCount; ++i) {
    if (stop) break;
    if (records[i].Status != MailRecord::kRemoved) {
      MailRecord& record = records[i];
      if (i < headers.size() && headers[i]) {
        // The same bytes the file starts with, analysed while they were written.
        Fill(record, std::move(*headers[i]));
        headers[i].reset();
      } else {
        AnalyseHeader(records, record.FilePath, static_cast<std::int32_t>(i));
      }
      StampTimes(record);
      const std::optional<std::u16string> finalPath =
          RenameAfterSubject(record.FilePath, folder, FileNameText(record.Subject), suffixes);
      record.FinalPath = finalPath.value_or(record.FilePath);
      ++renamed;
    }
    ShowPercent(ui, RoundPercent(static_cast<double>(i), static_cast<double>(recordCount)));
    ui.SetCaption(StatusControl::lblStatus, Text(TextId::RenamedCount, ui.TextLanguage(), {DecimalText(renamed)}));
    ui.PumpEvents();
  }
}

void AnalyseHeader(std::vector<MailRecord>& records, const std::u16string& path, std::int32_t index) {
  if (index < 1 || static_cast<std::size_t>(index) >= records.size()) return;
  Fill(records[static_cast<std::size_t>(index)], AnalyseHeaderFile(path));
}
