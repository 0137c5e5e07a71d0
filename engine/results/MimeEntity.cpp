#include "engine/results/MimeEntity.h"

#include <algorithm>

namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AsciiLowered(a) == AsciiLowered(b);
}

// Walks the lines of a text; each line is given without its line end, with the offset where it starts.
class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line, std::size_t& start) {
    if (at_ >= text_.size()) return false;
    start = at_;
    const std::size_t end = std::min(text_.find('\n', at_), text_.size());
    line = text_.substr(at_, end - at_);
    if (line.ends_with('\r')) line.remove_suffix(1);
    at_ = end + 1;
    return true;
  }
  std::size_t Offset() const { return std::min(at_, text_.size()); }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

// The text of a part ends before the line break that precedes the next delimiter.
std::string_view PartBefore(std::string_view body, std::size_t partStart, std::size_t delimiterStart) {
  std::size_t end = std::max(delimiterStart, partStart);
  if (end > partStart && body[end - 1] == '\n') --end;
  if (end > partStart && body[end - 1] == '\r') --end;
  return body.substr(partStart, end - partStart);
}

}  // namespace

std::string AsciiLowered(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return lowered;
}

MimeEntity SplitEntity(std::string_view bytes) {
  Lines lines(bytes);
  std::string_view line;
  std::size_t start = 0;
  while (lines.Next(line, start)) {
    if (line.empty()) return {bytes.substr(0, start), bytes.substr(lines.Offset()), true};
  }
  return {bytes, {}, false};
}

std::optional<std::string> FieldValue(std::string_view header, std::string_view name) {
  Lines lines(header);
  std::string_view line;
  std::size_t start = 0;
  std::optional<std::string> value;
  while (lines.Next(line, start)) {
    const bool continuation = !line.empty() && (line.front() == ' ' || line.front() == '\t');
    if (value && continuation) {
      // Encoded words on either side of a fold join without the space between them.
      const std::string_view piece = Trimmed(line);
      if (!(std::string_view(*value).ends_with("?=") && piece.starts_with("=?"))) *value += ' ';
      *value += piece;
    } else if (value) {
      break;
    } else if (line.size() > name.size() && line[name.size()] == ':' && SameIgnoringCase(line.substr(0, name.size()), name)) {
      value = std::string(Trimmed(line.substr(name.size() + 1)));
    }
  }
  return value;
}

std::string MediaType(std::string_view contentType) {
  return AsciiLowered(Trimmed(contentType.substr(0, std::min(contentType.find(';'), contentType.size()))));
}

std::optional<std::string> Parameter(std::string_view value, std::string_view name) {
  std::size_t at = value.find(';');
  while (at != std::string_view::npos) {
    const std::size_t start = at + 1;
    const std::size_t equals = value.find('=', start);
    if (equals == std::string_view::npos) return std::nullopt;
    const bool wanted = SameIgnoringCase(Trimmed(value.substr(start, equals - start)), name);
    std::size_t valueStart = value.find_first_not_of(" \t", equals + 1);
    if (valueStart == std::string_view::npos) return wanted ? std::optional<std::string>("") : std::nullopt;
    std::string text;
    if (value[valueStart] == '"') {
      const std::size_t close = std::min(value.find('"', valueStart + 1), value.size());
      text = value.substr(valueStart + 1, close - valueStart - 1);
      at = value.find(';', close);
    } else {
      at = value.find(';', valueStart);
      text = Trimmed(value.substr(valueStart, at == std::string_view::npos ? std::string_view::npos : at - valueStart));
    }
    if (wanted) return text;
  }
  return std::nullopt;
}

MultipartBody SplitMultipart(std::string_view body, std::string_view boundary) {
  const std::string dashes = "--" + std::string(boundary);
  MultipartBody result;
  std::optional<std::size_t> partStart;
  Lines lines(body);
  std::string_view line;
  std::size_t start = 0;
  while (lines.Next(line, start)) {
    if (!line.starts_with(dashes)) continue;
    const std::string_view rest = line.substr(dashes.size());
    const bool closing = rest.starts_with("--");
    if (!closing && !Trimmed(rest).empty()) continue;  // a longer boundary that starts with this one
    if (partStart) result.parts.push_back(PartBefore(body, *partStart, start));
    if (closing) {
      result.closed = true;
      return result;
    }
    partStart = lines.Offset();
  }
  if (partStart) result.parts.push_back(body.substr(*partStart));
  return result;
}
