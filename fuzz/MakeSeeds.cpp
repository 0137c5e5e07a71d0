// Writes the seed corpora of the fuzzers: composed stores, the sample messages, header values and,
// when the real stores are at hand, the messages recovered from them (read where they lie).
//   fuzz-seeds CORPUS_ROOT SAMPLE_MESSAGES_DIR [REAL_DBX_DIR]
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/scan/BlockScan.h"
#include "tests/support/DbxWriter.h"

namespace {

namespace fs = std::filesystem;
using testsupport::DbxWriter;
using testsupport::MakeMessage;

class SeedFolder {
 public:
  explicit SeedFolder(fs::path folder) : folder_(std::move(folder)) { fs::create_directories(folder_); }
  void Add(std::span<const std::uint8_t> bytes) {
    std::ofstream out(folder_ / ("seed-" + std::to_string(next_++)), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  void Add(std::string_view text) { Add(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())); }

 private:
  fs::path folder_;
  int next_ = 0;
};

// Stores the scan must handle: with and without the file header, messages forward, backward,
// scattered, displaced, cut off and damaged, and freed.
void AddStores(SeedFolder& seeds) {
  {
    DbxWriter writer;
    writer.AppendMessage(MakeMessage("one", 300, 1));
    writer.AppendNoise(40, 2);
    writer.AppendMessage(MakeMessage("two", 1300, 3));
    seeds.Add(writer.Bytes());
  }
  {
    DbxWriter writer;
    writer.Truncate(0);
    writer.PlaceMessage(MakeMessage("compact", 1100, 4), {4, 532, 1060});
    writer.PlaceMessage(MakeMessage("scattered", 1100, 5), {3172, 1588, 2644});
    writer.PlaceMessage(MakeMessage("displaced", 700, 6), {3700, 4228}, 0x100);
    seeds.Add(writer.Bytes());
    writer.Truncate(writer.Size() - 300);
    seeds.Add(writer.Bytes());
  }
  {
    DbxWriter writer;
    writer.Truncate(0);
    writer.AppendBackwardMessage(MakeMessage("backward", 1600, 7));
    seeds.Add(writer.Bytes());
  }
  {
    DbxWriter writer;
    writer.Truncate(0);
    const auto placed = writer.PlaceMessage(MakeMessage("looping", 1100, 8), {4, 532, 1060});
    writer.PokeInt32(placed.blockOffsets[2] + 12, 532);  // the last block leads back to the second
    seeds.Add(writer.Bytes());
  }
  {
    // Messages freed as Outlook Express frees them, one of them since partly reused.
    DbxWriter writer;
    writer.Truncate(0x60);
    const auto first = writer.AppendMessage(MakeMessage("freed", 1100, 9));
    writer.FreeMessage(first);
    writer.FreeMessage(writer.AppendMessage(MakeMessage("freed too", 700, 10)));
    writer.PlaceMessage(MakeMessage("reuses", 300, 11), {first.blockOffsets[2]});
    seeds.Add(writer.Bytes());
  }
}

// Indexed stores: messages listed through a tree of several nodes, and a Folders.dbx.
void AddIndexedStores(SeedFolder& seeds) {
  DbxWriter writer;
  std::vector<std::int64_t> records;
  for (std::uint32_t i = 0; i < 7; ++i)
    records.push_back(writer.AppendMessageInfo({writer.AppendMessage(MakeMessage("listed", 300, i + 1)).blockOffsets.front(),
                                                "\x89\xef\x8b\x63", "sender", 1000 + i, i % 2 == 0}));
  writer.AppendIndex(records, 2);
  seeds.Add(writer.Bytes());
  DbxWriter folders;
  folders.AppendFolderList({{0, 0xFFFFFFFF, "Outlook Express", ""}, {1, 0, "Local Folders", ""}, {2, 1, "Inbox", "Inbox.dbx"}});
  seeds.Add(folders.Bytes());
}

std::vector<std::uint8_t> ReadAll(const fs::path& file) { return testsupport::ReadFileBytes(file); }

// Collects the messages a scan of a store file finds.
class Collector final : public ScanHost {
 public:
  std::vector<std::vector<std::uint8_t>> messages;
  bool BeginMessage() override {
    messages.emplace_back();
    return true;
  }
  bool AppendMessageBytes(std::span<const std::uint8_t> bytes) override {
    messages.back().insert(messages.back().end(), bytes.begin(), bytes.end());
    return true;
  }
  bool EndMessage(std::int64_t, bool) override { return true; }
  bool WindowAdvanced(std::int64_t) override { return true; }
  void Pump() override {}
};

void AddRealStoreMessages(const fs::path& folder, SeedFolder& headers, SeedFolder& charsets) {
  if (!fs::is_directory(folder)) return;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() != ".dbx") continue;
    platform::OsError error;
    const auto file = platform::StoreFile::Open(entry.path().u16string(), error);
    if (!file) continue;
    for (const bool skip : {false, true}) {
      const std::int64_t length = ScanLength(file->Length());
      UsedBlockList used;
      StoreReads reads(*file);
      StoreReader reader(reads, length);
      Collector collector;
      ScanStore(reader, skip, used, collector);
      for (const auto& message : collector.messages) {
        headers.Add(message);
        charsets.Add(message);
      }
    }
  }
}

// Text seeds for the fuzzers that read their first byte as the text form: 0 is code page 932.
void AddTexts(SeedFolder& seeds, const std::vector<std::string_view>& texts) {
  for (const std::string_view text : texts) seeds.Add(std::string(1, '\0') + std::string(text));
}

// Subjects that look like paths, devices or names near the 255-byte limit, each with clash suffixes
// 0 and 12 in front of the text form byte.
void AddNamingSeeds(SeedFolder& seeds) {
  std::string hiragana;
  for (int i = 0; i < 83; ++i) hiragana += "\x82\xa0";
  const std::vector<std::string> subjects{"../../x", "..\\..\\x", "C:\\Windows\\x", "/etc/passwd", "..", "NUL",
                                          "CON.eml", "Com1 .txt", "LPT9", "a\r\nb", std::string(251, 'a'), hiragana};
  for (const std::string& subject : subjects)
    for (const char suffix : {'\0', '\x0c'}) seeds.Add(std::string{suffix, '\0'} + subject);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: fuzz-seeds CORPUS_ROOT SAMPLE_MESSAGES_DIR [REAL_DBX_DIR]\n";
    return 2;
  }
  const fs::path root = argv[1];
  SeedFolder scan(root / "scan");
  SeedFolder freed(root / "freed");
  SeedFolder index(root / "index");
  SeedFolder headers(root / "header");
  SeedFolder mime(root / "mime");
  SeedFolder dates(root / "date");
  SeedFolder charsets(root / "charsets");
  SeedFolder naming(root / "naming");
  SeedFolder preview(root / "preview");

  AddStores(scan);
  AddStores(freed);
  AddIndexedStores(index);
  for (const auto& entry : fs::directory_iterator(argv[2])) {
    const auto bytes = ReadAll(entry.path());
    headers.Add(bytes);
    charsets.Add(bytes);
    preview.Add(std::string(1, '\0') + std::string(bytes.begin(), bytes.end()));
    DbxWriter writer;
    writer.AppendMessage(bytes);
    scan.Add(writer.Bytes());
    writer.FreeMessage(writer.AppendMessage(bytes));
    freed.Add(writer.Bytes());
    // The freed fuzzer's text form: 0xFE, then the data areas, each beginning with 4 lost bytes.
    std::string areas(1, '\xfe');
    for (std::size_t at = 0; at < bytes.size(); at += 508) {
      areas.append(4, '\0');
      areas.append(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                   bytes.begin() + static_cast<std::ptrdiff_t>(std::min(at + 508, bytes.size())));
    }
    freed.Add(areas);
  }
  if (argc > 3) AddRealStoreMessages(argv[3], headers, charsets);

  AddTexts(mime, {"=?ISO-2022-JP?B?GyRCQkckQTlnJG8kOxsoQg==?= =?ISO-2022-JP?B?GyRCJE43bxsoQg==?=",
                  "=?iso-2022-jp?Q?=1B$B$3$s$K$A$O=1B(B?=", "=?Shift_JIS?B?g2WDWINn?=",
                  "=?EUC-JP?B?pcaluaXI?=", "=?UTF-8?Q?=E3=83=86=E3=82=B9=E3=83=88_x?=",
                  "Re: =?utf-8?B?44OG44K544OI?=\r\n =?utf-8?B?44OG44K544OI?=", "=?x?B?=?= ?=", "=?"});
  AddTexts(dates, {"Tue, 1 Jan 2002 10:05:03 +0900", "Mon, 25 Dec 2000 09:00:00 +0900 (JST)",
                   "from a by b; Tue, 1 Jan 2002 10:05:03 +0900", "Tue, 1 Jan 02 10:05 +0900",
                   "Mon, 25  Dec 2000 09:00:00 +0900", "x may y z w v", ""});
  AddNamingSeeds(naming);
  AddTexts(preview, {"Content-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\nContent-Type: text/html; "
                     "charset=iso-2022-jp\r\n\r\n<p>a&amp;b<br>\x1b$B$3\x1b(B</p>\r\n--b\r\n"
                     "Content-Disposition: attachment; filename=\"=?UTF-8?B?6KaL56mNLnBkZg==?=\"\r\n"
                     "Content-Transfer-Encoding: base64\r\n\r\nJVBERi0=\r\n--b--\r\n"});
  charsets.Add("\x1b$B$3$s$K$A$O\x1b(B \x0e\x31\x0f \x1b(I12\x1b(B");
  charsets.Add("\x83\x65\x83\x58\x83\x67 \xa5\xc6\xa5\xb9 \xe3\x83\x86 \x8e\xb1");
  return 0;
}
