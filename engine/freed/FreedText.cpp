#include "engine/freed/FreedText.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace {

using ByteSpan = std::span<const std::uint8_t>;
using Gap = std::array<std::uint8_t, kLostBytes>;

constexpr Gap kUnknown = {'?', '?', '?', '?'};
// The longest line a message may have, CR LF not counted.
constexpr std::size_t kMaxLine = 998;

bool IsBase64(std::uint8_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
}

// Where in a base64 line of n characters (then CR LF) a byte falls: 0..n−1 a character, n the CR,
// n + 1 the LF.
struct LinePlace {
  std::size_t length = 0;
  std::size_t column = 0;
};

// The start of the run of base64 characters ending at end, looked for no further than a line's length.
std::size_t Base64RunStart(ByteSpan text, std::size_t end) {
  std::size_t start = end;
  while (start > 0 && end - start <= kMaxLine && IsBase64(text[start - 1])) --start;
  return start;
}

// The length of the whole line of base64 characters ending with CR LF at lf − 1 and lf, when a line
// end comes before it; nullopt otherwise.
std::optional<std::size_t> WholeBase64Line(ByteSpan text, std::size_t lf) {
  if (lf < 2 || text[lf] != '\n' || text[lf - 1] != '\r') return std::nullopt;
  const std::size_t start = Base64RunStart(text, lf - 1);
  if (start == lf - 1 || start == 0 || text[start - 1] != '\n') return std::nullopt;
  return lf - 1 - start;
}

// The place of the byte after text, when text ends inside a base64 body with at least two whole
// preceding lines of equal length.
std::optional<LinePlace> Base64Place(ByteSpan text) {
  const bool afterCr = !text.empty() && text.back() == '\r';
  const std::size_t end = text.size() - (afterCr ? 1 : 0);
  const std::size_t lineStart = Base64RunStart(text, end);
  if (lineStart == 0 || text[lineStart - 1] != '\n') return std::nullopt;
  const auto last = WholeBase64Line(text, lineStart - 1);
  if (!last) return std::nullopt;
  const auto before = WholeBase64Line(text, lineStart - 1 - *last - 2);
  if (before != last) return std::nullopt;
  const std::size_t column = end - lineStart;
  if (column > *last || (afterCr && column != *last)) return std::nullopt;
  return LinePlace{*last, column + (afterCr ? 1 : 0)};
}

// Whether the bytes after the gap go on as the line structure says: the line's rest holds base64
// characters (or padding) up to its CR, or ends sooner as the body's last line does.
bool ContinuesLines(const LinePlace& place, ByteSpan after) {
  const std::size_t column = (place.column + kLostBytes) % (place.length + 2);
  if (column == place.length + 1) return !after.empty() && after[0] == '\n';
  const std::size_t rest = place.length - column;
  std::size_t run = 0;
  while (run < after.size() && run <= rest && (IsBase64(after[run]) || after[run] == '=')) ++run;
  return run <= rest && (run == after.size() || after[run] == '\r' || after[run] == 0);
}

Gap GapFill(ByteSpan before, ByteSpan after) {
  const auto place = Base64Place(before);
  if (!place || !ContinuesLines(*place, after)) return kUnknown;
  Gap fill{};
  for (std::size_t j = 0; j < kLostBytes; ++j) {
    const std::size_t column = (place->column + j) % (place->length + 2);
    fill[j] = column < place->length ? 'A' : column == place->length ? '\r' : '\n';
  }
  return fill;
}

std::size_t Find(ByteSpan text, std::string_view what, std::size_t from) {
  const auto found = std::search(text.begin() + static_cast<std::ptrdiff_t>(std::min(from, text.size())), text.end(),
                                 what.begin(), what.end());
  return static_cast<std::size_t>(found - text.begin());
}

// The boundary parameter of the header part's Content-Type field when it names a multipart type.
std::optional<std::string> OutermostBoundary(ByteSpan header) {
  // A leading CR LF lets the first field be found like the others; lowering keeps positions.
  const std::string original = "\r\n" + std::string(header.begin(), header.end());
  std::string lowered = original;
  for (char& c : lowered)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  const std::size_t at = lowered.find("\r\ncontent-type:");
  if (at == std::string::npos) return std::nullopt;
  // The field runs on over folded lines, which begin with a blank.
  std::size_t end = lowered.find("\r\n", at + 2);
  while (end != std::string::npos && end + 2 < lowered.size() && (lowered[end + 2] == ' ' || lowered[end + 2] == '\t'))
    end = lowered.find("\r\n", end + 2);
  const std::string field = lowered.substr(at + 2, end - at - 2);
  const std::size_t type = field.find_first_not_of(" \t", field.find(':') + 1);
  const std::size_t parameter = field.find("boundary=");
  if (type == std::string::npos || field.compare(type, 10, "multipart/") != 0 || parameter == std::string::npos)
    return std::nullopt;
  const std::size_t value = at + 2 + parameter + 9;
  std::size_t stop = original.find_first_of("; \t\r", value);
  std::size_t from = value;
  if (original[value] == '"') {
    from = value + 1;
    stop = original.find('"', from);
  }
  if (stop == std::string::npos || stop > end || stop == from) return std::nullopt;
  return original.substr(from, stop - from);
}

bool IsFieldNameByte(std::uint8_t c) { return c > ' ' && c < 0x7F && c != ':'; }

}  // namespace

bool IsLookalike(FreedData firstBlock) {
  const ByteSpan rest = firstBlock.subspan(kLostBytes);
  const auto last = std::find_if(rest.rbegin(), rest.rend(), [](std::uint8_t c) { return c != 0; });
  if (last == rest.rend()) return true;
  return std::any_of(rest.begin(), last.base(), [](std::uint8_t c) {
    return (c < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != 0x1B) || c == 0x7F;
  });
}

bool BeginsHeader(FreedData firstBlock) {
  const ByteSpan rest = firstBlock.subspan(kLostBytes);
  const auto colon = std::find(rest.begin(), rest.end(), ':');
  return colon != rest.end() && std::all_of(rest.begin(), colon, IsFieldNameByte);
}

void FreedText::AddBlock(FreedData data) {
  lastBlockStart_ = bytes_.size();
  const ByteSpan after = data.subspan(kLostBytes);
  const Gap fill = GapFill(bytes_, after);
  bytes_.insert(bytes_.end(), fill.begin(), fill.end());
  bytes_.insert(bytes_.end(), after.begin(), after.end());
  lost_.push_back(LostRange{lastBlockStart_, lastBlockStart_ + kLostBytes});
}

void FreedText::Finish() {
  while (bytes_.size() > lastBlockStart_ && bytes_.back() == 0) bytes_.pop_back();
  const std::size_t headerEnd = Find(bytes_, "\r\n\r\n", 0);
  if (headerEnd < bytes_.size()) {
    if (const auto boundary = OutermostBoundary(ByteSpan(bytes_).first(headerEnd + 2))) {
      // The delimiter line lies after the lost bytes; it may begin right after them.
      const std::string closing = "--" + *boundary + "--";
      const std::size_t gapEnd = lastBlockStart_ + kLostBytes;
      std::size_t found = Find(bytes_, closing, std::max(headerEnd, gapEnd));
      while (found < bytes_.size() && found != gapEnd && bytes_[found - 1] != '\n')
        found = Find(bytes_, closing, found + 1);
      const std::size_t lineEnd = Find(bytes_, "\r\n", found + closing.size());
      if (lineEnd < bytes_.size()) bytes_.resize(lineEnd + 2);
    }
  }
}
