#pragma once
// The run's subfolder "削除済みメール" for everything the store no longer holds as mail: the deleted
// messages the scan found and the freed ones. One name set covers every file in it, and its report
// "復元レポート.tsv" has a row for each.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/naming/FileNaming.h"
#include "engine/naming/MailFileTime.h"
#include "platform/Files.h"
#include "platform/OutputFolder.h"

struct FreedWriteFailure {
  std::u16string path;
  platform::OsError error;
  std::u16string leftover;  // a file that could not be removed, if any
};

// What a message written into the folder got.
struct DeletedMailFile {
  std::u16string name;
  std::u16string subject;
  std::optional<MailDate> date;  // from its header
  std::u16string sender{};       // from its header, for the run's list
};

// The report row of a file, made once its name is known.
using DeletedMailRow = std::function<std::string(const std::u16string& name)>;

class DeletedMailFolder {
 public:
  // faults, when given, is consulted by every create and write.
  DeletedMailFolder(const std::u16string& runFolder, platform::WriteFaultPlan faults);

  // Writes the message, made with its report when the first message comes, under the name its subject
  // gives it ("RecoverN.eml", N counting the files in the folder, when the subject gives none) with the
  // first free clash suffix, dated from its header, through a working name (see StagedFile), and adds its
  // row. The failure that stopped it, if any; the file not written whole is removed, as is one whose row
  // could not be added. The paths of the files made go to files.
  std::optional<FreedWriteFailure> Write(std::span<const std::uint8_t> bytes, const DeletedMailRow& row,
                                         std::vector<std::u16string>& files, DeletedMailFile& written);
  // Closes the report, if one was made; the failure, if its last bytes could not be written.
  std::optional<FreedWriteFailure> Close();

 private:
  std::optional<FreedWriteFailure> Open(std::vector<std::u16string>& files);
  // Gives the written file the subject's name or else "RecoverN.eml", with the first free clash suffix;
  // the name last tried goes to name.
  bool Publish(class StagedFile& file, const std::u16string& subject, std::u16string& name, platform::OsError& error);
  // The failure of the file name (the folder when it has none yet), with the file left behind, if any.
  std::optional<FreedWriteFailure> Failure(const std::u16string& name, platform::OsError error,
                                           const std::u16string& left) const;

  const std::u16string path_;
  const platform::WriteFaultPlan faults_;
  std::optional<platform::OutputFolder> folder_;
  std::optional<platform::OutputFile> report_;
  std::int64_t reportBytes_ = 0;  // its rows written whole
  ClashSuffixes suffixes_;
  std::int32_t workingNumber_ = 1;
  std::int32_t written_ = 0;
};
