#include <algorithm>
#include <cstdint>
#include <vector>

#include "mailinfo/modMailInfo.h"
#include "platform/Files.h"

HeaderInfo AnalyseHeaderFile(const std::u16string& path) {
  const HeaderInfo unreadable{u"[不明]", u"[不明]"};
  platform::OsError error;
  const auto file = platform::StoreFile::Open(path, error);
  if (!file) return unreadable;
  const std::int64_t length = file->Length();
  if (length < 0) return unreadable;

  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min<std::int64_t>(length, kHeaderReadLimit)));
  const std::int64_t read = file->ReadAt(0, bytes);
  if (read < 0) return unreadable;
  bytes.resize(static_cast<std::size_t>(read));
  return AnalyseHeaderBytes(bytes);
}
