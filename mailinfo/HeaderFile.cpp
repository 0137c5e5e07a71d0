#include <algorithm>
#include <cstdint>
#include <vector>

#include "convert/Cp932.h"
#include "mailinfo/modMailInfo.h"
#include "platform/Files.h"

namespace {

// Most header parts end within this many bytes; the rest of the 64 KiB is read only when not.
constexpr std::size_t kFirstRead = 8192;

}  // namespace

HeaderInfo AnalyseHeaderFile(const std::u16string& path) {
  const HeaderInfo unreadable{u"[不明]", u"[不明]"};
  platform::OsError error;
  const auto file = platform::StoreFile::Open(path, error);
  if (!file) return unreadable;

  std::vector<std::uint8_t> bytes(kHeaderReadLimit);
  std::int64_t read = file->ReadAt(0, std::span(bytes).first(kFirstRead));
  if (read < 0) return unreadable;
  if (read == static_cast<std::int64_t>(kFirstRead)) {
    // The header part ends in the first piece when its text reads the empty line there: the bytes
    // after it cannot change what comes before.
    std::u16string text = Cp932ToUnicodeThrough(std::span(bytes).first(kFirstRead), u"\r\n\r\n");
    if (text.ends_with(u"\r\n\r\n")) return AnalyseHeaderText(text);
    const std::int64_t more = file->ReadAt(static_cast<std::int64_t>(kFirstRead), std::span(bytes).subspan(kFirstRead));
    if (more < 0) return unreadable;
    read += more;
  }
  bytes.resize(static_cast<std::size_t>(read));
  return AnalyseHeaderBytes(bytes);
}
