#pragma once
// Mail header analysis: subject and date of a written message.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// A Date or Received value to "YYYY/MM/DD hh:mm:ss", or the markers "(破損)" / "(不明)".
std::u16string ParseMailDate(std::u16string_view value);

// The sender a From value names: its display name when it has one (quoted, or a comment after the
// address), else its address; MIME-decoded. Empty for an empty value.
std::u16string SenderName(std::u16string_view from);

// What the header part of a message yields: the decoded subject and the date text, or markers, and the
// sender of the From line (empty without one).
struct HeaderInfo {
  std::u16string Subject;
  std::u16string ReceivedDate;
  std::u16string Sender{};
};

// At most this many bytes from the start of a message are read for its header.
inline constexpr std::size_t kHeaderReadLimit = 65536;

// Analyses the bytes read from the start of a message (at most kHeaderReadLimit of them are used).
HeaderInfo AnalyseHeaderBytes(std::span<const std::uint8_t> bytes);

// Most header parts end within this many bytes from the start of the message.
inline constexpr std::size_t kHeaderPieceSize = 8192;
// Analyses the first bytes of a message when its header part ends within them (AnalyseHeaderBytes
// would then give the same); nullopt when they do not reach its end.
std::optional<HeaderInfo> AnalyseHeaderPiece(std::span<const std::uint8_t> bytes);

// Analyses the decoded start of a message: its header part ends with the first empty line.
HeaderInfo AnalyseHeaderText(std::u16string_view text);

// Reads the start of the file at path and analyses it; "[不明]" in both fields when it cannot be read.
HeaderInfo AnalyseHeaderFile(const std::u16string& path);
