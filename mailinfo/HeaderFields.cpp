#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "convert/Cp932.h"
#include "convert/Decoders.h"
#include "mailinfo/AsciiLower.h"
#include "mailinfo/MailInfo.h"
#include "mailinfo/Markers.h"

namespace {

constexpr std::u16string_view kCrLf = u"\r\n";

// Everything up to and including the CR LF that closes the last header line; all of the text when
// there is no empty line.
std::u16string_view HeaderPartOf(std::u16string_view text) {
  const auto blank = text.find(u"\r\n\r\n");
  return blank == std::u16string_view::npos ? text : text.substr(0, blank + kCrLf.size());
}

std::size_t LineEndFrom(std::u16string_view header, std::size_t from) {
  const auto end = header.find(kCrLf, from);
  return end == std::u16string_view::npos ? header.size() : end;
}

bool IsFoldWhiteSpace(char16_t c) { return c == u' ' || c == u'\t'; }

class Header {
 public:
  explicit Header(std::u16string_view text) : text_(text), lowered_(AsciiLower(text)) {}

  // The value after the first occurrence of name (lowercase, with its colon and one space) anywhere
  // in the header; its first line only unless unfolded.
  std::optional<std::u16string> Value(std::u16string_view name, bool unfold) const {
    const auto at = lowered_.find(name);
    if (at == std::u16string::npos) return std::nullopt;
    const auto start = at + name.size();
    auto end = LineEndFrom(text_, at);
    std::u16string value(text_.substr(start, end - start));
    // A continuation line's first character is dropped, then any spaces after it; the line break
    // goes without a trace, so adjacent encoded words stay adjacent.
    while (unfold && end + 2 < text_.size() && IsFoldWhiteSpace(text_[end + 2])) {
      const auto next = LineEndFrom(text_, end + 2);
      auto piece = text_.substr(end + 3, next - (end + 3));
      piece.remove_prefix(std::min(piece.find_first_not_of(u' '), piece.size()));
      value += piece;
      end = next;
    }
    return value;
  }

  // The value of the line that begins with name (lowercase, with its colon and one space), unfolded.
  std::optional<std::u16string> LineValue(std::u16string_view name) const {
    if (lowered_.starts_with(name)) return Value(name, true);
    const auto at = lowered_.find(u"\r\n" + std::u16string(name));
    if (at == std::u16string::npos) return std::nullopt;
    return Header(text_.substr(at + kCrLf.size())).Value(name, true);
  }

 private:
  std::u16string_view text_;
  std::u16string lowered_;
};

}  // namespace

HeaderInfo AnalyseHeaderBytes(std::span<const std::uint8_t> bytes) {
  // Only the header part is read, so the body need not be decoded.
  return AnalyseHeaderText(Cp932ToUnicodeThrough(bytes.first(std::min(bytes.size(), kHeaderReadLimit)), u"\r\n\r\n"));
}

std::optional<HeaderInfo> AnalyseHeaderPiece(std::span<const std::uint8_t> bytes) {
  // The text up to the empty line is the same whatever bytes follow the piece: no byte after the
  // line's last LF can change how the bytes before it decode.
  const std::u16string text = Cp932ToUnicodeThrough(bytes.first(std::min(bytes.size(), kHeaderReadLimit)), u"\r\n\r\n");
  if (!text.ends_with(u"\r\n\r\n")) return std::nullopt;
  return AnalyseHeaderText(text);
}

HeaderInfo AnalyseHeaderText(std::u16string_view text) {
  const Header header(HeaderPartOf(text));

  HeaderInfo info;
  if (const auto subject = header.Value(u"subject: ", true)) {
    const auto decodedSubject = DecodeMimeHeader(*subject);
    if (!decodedSubject) return HeaderInfo{std::u16string(kFailedMarker), std::u16string(kFailedMarker)};
    info.Subject = *decodedSubject;
  } else {
    info.Subject = kNoSubjectMarker;
  }

  if (const auto received = header.Value(u"received: ", true)) {
    info.ReceivedDate = ParseMailDate(*received);
  } else if (const auto date = header.Value(u"date: ", false)) {
    info.ReceivedDate = ParseMailDate(*date);
  } else {
    info.ReceivedDate = kUnknownMarker;
  }
  if (const auto from = header.LineValue(u"from: ")) info.Sender = SenderName(*from);
  return info;
}
