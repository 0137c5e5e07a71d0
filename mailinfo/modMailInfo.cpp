#include "mailinfo/modMailInfo.h"

#include "engine/modDBXFile.h"

void AnalyseHeader(const std::u16string& path, std::int32_t index) {
  if (index < 1 || static_cast<std::size_t>(index) >= MailRecords.size()) return;
  HeaderInfo info = AnalyseHeaderFile(path);
  MailRecord& record = MailRecords[static_cast<std::size_t>(index)];
  record.Subject = std::move(info.Subject);
  record.ReceivedDate = std::move(info.ReceivedDate);
}
