#include "tests/support/SampleStore.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/DbxWriter.h"

namespace testsupport {
namespace {

constexpr std::int32_t kStaleDisplacement = 0x8000;
constexpr std::int64_t kBlock = static_cast<std::int64_t>(testsupport::kDbxBlockSize);

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Something other than a message block between messages, as the store's index nodes are.
void AppendOtherObject(testsupport::DbxWriter& writer, std::size_t size) {
  std::vector<std::uint8_t> object(size, 0);
  const auto offset = static_cast<std::uint32_t>(writer.Size());
  for (int i = 0; i < 4; ++i) object[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(offset >> (8 * i));
  writer.AppendObject(object);
}

PlacedMessage PlaceScattered(testsupport::DbxWriter& writer, const std::string& message) {
  const std::size_t blocks = (message.size() + 511) / 512;
  std::vector<std::int64_t> offsets;
  for (std::size_t i = 0; i < blocks; ++i) {
    offsets.push_back(writer.Reserve(testsupport::kDbxBlockSize));
    AppendOtherObject(writer, 124 + 40 * i);
  }
  return writer.PlaceMessage(message, offsets);
}

void PlaceStale(testsupport::DbxWriter& writer, const std::string& message) {
  const std::size_t blocks = (message.size() + 511) / 512;
  const std::int64_t start = writer.Reserve(blocks * testsupport::kDbxBlockSize);
  std::vector<std::int64_t> offsets;
  for (std::size_t i = 0; i < blocks; ++i) offsets.push_back(start + static_cast<std::int64_t>(i) * kBlock);
  writer.PlaceMessage(message, offsets, kStaleDisplacement);
}

}  // namespace

void ComposeSampleStore(const std::filesystem::path& manifest, const std::filesystem::path& messages,
           const std::filesystem::path& output) {
  testsupport::DbxWriter writer;
  AppendOtherObject(writer, 1024);
  std::vector<std::int64_t> listed;  // first blocks
  std::istringstream lines(ReadText(manifest));
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string file;
    std::string layout;
    fields >> file >> layout;
    const std::string message = ReadText(messages / file);
    if (layout == "live")
      listed.push_back(writer.AppendMessage(message).blockOffsets.front());
    else if (layout == "deleted")
      writer.AppendMessage(message);
    else if (layout == "backward")
      listed.push_back(writer.AppendBackwardMessage(message).blockOffsets.front());
    else if (layout == "scattered")
      listed.push_back(PlaceScattered(writer, message).blockOffsets.front());
    else if (layout == "stale")
      PlaceStale(writer, message);
    else
      throw std::runtime_error("unknown layout '" + layout + "' in: " + line);
    AppendOtherObject(writer, 96);
  }
  // The store's index lists every message but the deleted ones and the stale copy.
  std::vector<std::int64_t> records;
  for (const std::int64_t first : listed) records.push_back(writer.AppendMessageInfo({first, "sample", "sample", 0, false}));
  writer.AppendIndex(records);
  writer.Save(output);
}


}  // namespace testsupport
