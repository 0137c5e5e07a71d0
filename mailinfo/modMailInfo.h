#pragma once
// Mail header analysis: subject and date of a written message.
#include <cstdint>
#include <string>
#include <string_view>

// A Date or Received value to "YYYY/MM/DD hh:mm:ss", or the markers "(破損)" / "(不明)".
std::u16string ParseMailDate(std::u16string_view value);

// Fills Subject and ReceivedDate of MailRecords[index] from the header part of the file at path.
void AnalyseHeader(const std::u16string& path, std::int32_t index);
