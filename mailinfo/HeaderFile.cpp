#include <algorithm>
#include <cstdint>
#include <vector>

#include "mailinfo/MailInfo.h"
#include "mailinfo/Markers.h"
#include "platform/Files.h"

HeaderInfo AnalyseHeaderFile(const std::u16string& path) {
  const HeaderInfo unreadable{std::u16string(kFailedMarker), std::u16string(kFailedMarker)};
  platform::OsError error;
  const auto file = platform::StoreFile::Open(path, error);
  if (!file) return unreadable;

  // The rest of the 64 KiB is read only when the header part does not end in the first piece.
  std::vector<std::uint8_t> bytes(kHeaderReadLimit);
  std::int64_t read = file->ReadAt(0, std::span(bytes).first(kHeaderPieceSize));
  if (read < 0) return unreadable;
  if (read == static_cast<std::int64_t>(kHeaderPieceSize)) {
    if (auto info = AnalyseHeaderPiece(std::span(bytes).first(kHeaderPieceSize))) return std::move(*info);
    const std::int64_t more =
        file->ReadAt(static_cast<std::int64_t>(kHeaderPieceSize), std::span(bytes).subspan(kHeaderPieceSize));
    if (more < 0) return unreadable;
    read += more;
  }
  bytes.resize(static_cast<std::size_t>(read));
  return AnalyseHeaderBytes(bytes);
}
