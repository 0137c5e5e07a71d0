#pragma once
// What the preview shows of one message of the run's list: its header fields decoded, its body as
// text and the names of its attachments.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/Texts.h"
#include "engine/runlist/RunListRow.h"

struct MailPreview {
  std::u16string from;
  std::u16string to;
  std::u16string date;
  std::u16string subject;
  // The first text/plain part, else the first text/html part as text; the raw message when its
  // structure cannot be read. Lines end in CR LF.
  std::u16string body;
  std::vector<std::u16string> attachments;
  bool cut = false;  // only the start of a longer message was read
};

// At most this much of a message is read: the preview stays quick on a message of any size.
inline constexpr std::size_t kPreviewReadLimit = std::size_t{4} << 20;

// The preview of a message's bytes; cut says that they stop at the read limit, not at its end.
MailPreview PreviewOfMessage(std::span<const std::uint8_t> bytes, bool cut = false);
// The preview of a message file; nullopt when it cannot be opened or read.
std::optional<MailPreview> PreviewOfFile(const std::u16string& path);

// The text the preview pane shows for a row of the list under runFolder: the message's preview, or
// what the store's list held of a message that was not found, or of a file that has gone.
std::u16string PreviewText(const std::u16string& runFolder, const RunListRow& row, Language language);
