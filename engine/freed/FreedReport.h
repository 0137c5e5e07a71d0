#pragma once
// The rows of the report beside the freed messages, a tab-separated UTF-8 text with CR LF line ends.
#include <string>

#include "engine/freed/FreedMessage.h"

// The byte order mark and the header row.
std::string FreedReportHeader();
// File name, offset of the first block in hexadecimal, blocks, bytes, 完全 or 部分, and the lost
// bytes as first-last offsets within the file.
std::string FreedReportRow(const std::u16string& fileName, const FreedMessage& message);
// A deleted message's row in the same form: nothing in the columns that only freed messages fill.
std::string DeletedReportRow(const std::u16string& fileName, std::int64_t firstBlock, std::int64_t bytes, bool complete);
