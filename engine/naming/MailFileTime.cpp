#include "engine/naming/MailFileTime.h"

#include "platform/FileTimes.h"

platform::FileTime DateToFileTime(const MailDate& date) { return platform::LocalToFileTime(date); }

std::optional<platform::TimeStampFile> OpenExistingFile(const std::u16string& path) {
  return platform::TimeStampFile::Open(path);
}

namespace {

// A time of zero (a date the system cannot convert) leaves the file as it is; so does a file that
// cannot be opened. Neither is the caller's concern.
void SetOneTime(const std::u16string& path, platform::FileTime creation, platform::FileTime lastWrite) {
  if (creation == 0 && lastWrite == 0) return;
  if (const auto file = OpenExistingFile(path)) file->SetTimes(creation, lastWrite);
}

}  // namespace

void SetCreationTime(const std::u16string& path, const MailDate& date) { SetOneTime(path, DateToFileTime(date), 0); }

void SetLastWriteTime(const std::u16string& path, const MailDate& date) {
  SetOneTime(path, 0, DateToFileTime(date));
}

void SetCreationAndLastWriteTime(const std::u16string& path, const MailDate& date) {
  const platform::FileTime time = DateToFileTime(date);
  if (time != 0) platform::SetFileTimes(path, time, time);
}
