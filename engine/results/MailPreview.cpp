#include "engine/results/MailPreview.h"

#include <algorithm>

#include "engine/results/HtmlText.h"
#include "engine/results/MimeEntity.h"
#include "engine/results/PartText.h"
#include "platform/Files.h"

namespace {

// Multipart bodies nest no deeper than this; deeper ones are read as broken.
constexpr int kDeepestPart = 8;

enum class Label { From, To, Date, Subject, Attachments, NotFound, FileGone, RestNotShown };

struct LabelText {
  std::u16string_view japanese;
  std::u16string_view english;
};

// In Label order.
constexpr LabelText kLabels[] = {
    {u"差出人: ", u"From: "},
    {u"宛先: ", u"To: "},
    {u"日付: ", u"Date: "},
    {u"件名: ", u"Subject: "},
    {u"添付ファイル: ", u"Attachments: "},
    {u"このメールは見つかりませんでした。DBXファイルの一覧にあった内容です。",
     u"This message was not found; this is what the store's list held."},
    {u"ファイルがありません", u"The file is missing."},
    {u"（ここから先は表示していません）", u"(The rest is not shown.)"},
};

std::u16string_view LabelOf(Label label, Language language) {
  const LabelText& text = kLabels[static_cast<std::size_t>(label)];
  return language == Language::English ? text.english : text.japanese;
}

std::string_view Chars(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::u16string WithCrLf(std::u16string_view text) {
  std::u16string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      result += u"\r\n";
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}

// What the walk over the parts finds.
struct Found {
  std::optional<std::u16string> plain;
  std::optional<std::u16string> html;
  std::vector<std::u16string> attachments;
  bool broken = false;
};

void Visit(const MimeEntity& entity, int depth, bool cut, Found& found) {
  const std::string contentType = FieldValue(entity.header, "content-type").value_or("text/plain");
  const std::string type = MediaType(contentType);
  const std::string disposition = FieldValue(entity.header, "content-disposition").value_or("");
  auto name = Parameter(disposition, "filename");
  if (!name) name = Parameter(contentType, "name");
  if (type.starts_with("multipart/")) {
    const auto boundary = Parameter(contentType, "boundary");
    const MultipartBody body = boundary ? SplitMultipart(entity.body, *boundary) : MultipartBody{};
    if (!boundary || depth >= kDeepestPart || (!body.closed && !cut)) {
      found.broken = true;
      return;
    }
    for (std::string_view part : body.parts) Visit(SplitEntity(part), depth + 1, cut, found);
  } else if (name || MediaType(disposition) == "attachment") {
    found.attachments.push_back(name ? HeaderText(*name) : std::u16string(type.begin(), type.end()));
  } else if ((type == "text/plain" && !found.plain) || (type == "text/html" && !found.html)) {
    auto text = PartText(entity.header, entity.body);
    if (!text) {
      found.broken = true;
    } else if (type == "text/plain") {
      found.plain = std::move(*text);
    } else {
      found.html = HtmlToText(*text);
    }
  }
}

void AppendLine(std::u16string& text, Label label, std::u16string_view value, Language language) {
  text += LabelOf(label, language);
  text += value;
  text += u"\r\n";
}

std::u16string HeaderLines(const MailPreview& preview, Language language) {
  std::u16string text;
  AppendLine(text, Label::From, preview.from, language);
  AppendLine(text, Label::To, preview.to, language);
  AppendLine(text, Label::Date, preview.date, language);
  AppendLine(text, Label::Subject, preview.subject, language);
  if (!preview.attachments.empty()) {
    std::u16string names;
    for (const std::u16string& name : preview.attachments) names += (names.empty() ? u"" : u", ") + name;
    AppendLine(text, Label::Attachments, names, language);
  }
  return text;
}

// What the list held of the row, with the one line that says why there is no more.
std::u16string RowText(const RunListRow& row, Label why, Language language) {
  MailPreview held;
  held.from = row.sender;
  held.date = RunListDateText(row.date);
  held.subject = row.subject;
  return HeaderLines(held, language) + u"\r\n" + std::u16string(LabelOf(why, language));
}

}  // namespace

MailPreview PreviewOfMessage(std::span<const std::uint8_t> bytes, bool cut) {
  const std::string_view message = Chars(bytes);
  const MimeEntity entity = SplitEntity(message);
  MailPreview preview;
  preview.cut = cut;
  preview.from = HeaderText(FieldValue(entity.header, "from").value_or(""));
  preview.to = HeaderText(FieldValue(entity.header, "to").value_or(""));
  preview.date = HeaderText(FieldValue(entity.header, "date").value_or(""));
  preview.subject = HeaderText(FieldValue(entity.header, "subject").value_or(""));
  Found found;
  if (entity.headerEnded) Visit(entity, 0, cut, found);
  if (!entity.headerEnded || found.broken) {
    preview.body = WithCrLf(RawText(message));
  } else {
    preview.body = WithCrLf(found.plain.value_or(found.html.value_or(u"")));
    preview.attachments = std::move(found.attachments);
  }
  return preview;
}

std::optional<MailPreview> PreviewOfFile(const std::u16string& path) {
  platform::OsError error;
  const auto file = platform::StoreFile::Open(path, error);
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> bytes(
      static_cast<std::size_t>(std::clamp<std::int64_t>(file->Length(), 0, kPreviewReadLimit)));
  const std::int64_t got = file->ReadAt(0, bytes);
  if (got < 0) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(got));
  return PreviewOfMessage(bytes, file->Length() > static_cast<std::int64_t>(bytes.size()));
}

std::u16string PreviewText(const std::u16string& runFolder, const RunListRow& row, Language language) {
  if (row.state == RunListState::Missing) return RowText(row, Label::NotFound, language);
  const auto preview = PreviewOfFile(RunListFilePath(runFolder, row));
  if (!preview) return RowText(row, Label::FileGone, language);
  std::u16string text = HeaderLines(*preview, language) + u"\r\n" + preview->body;
  if (preview->cut) text += u"\r\n" + std::u16string(LabelOf(Label::RestNotShown, language));
  return text;
}
