#pragma once
// The run's folder, opened once, in which every file is made new, renamed and removed by its name alone.
#include <optional>
#include <string>
#include <string_view>

#include "platform/Files.h"

namespace platform {

// Whether name stands for an entry of a folder itself: not empty, not "." or "..", and without a path
// separator (nor, on Windows, a drive or stream colon).
bool IsPlainName(std::u16string_view name);

// NameRefused: the system does not take the name itself (invalid, too long, or a path too long on
// Windows), where another name may do; Failed: anything else, which another name would meet as well.
enum class CreateResult { Created, Exists, NameRefused, Failed };

// What OutputFolder::CreateNew gives: the new file open for writing, or why there is none.
struct NewFile {
  CreateResult result = CreateResult::Failed;
  std::optional<OutputFile> file;  // set exactly when result is Created
  OsError error;                   // what the system said otherwise
};

class OutputFolder {
 public:
  // Opens an existing folder. It and the files it makes consult faults, when given, before each create,
  // write, rename and removal.
  [[nodiscard]] static std::optional<OutputFolder> Open(const std::u16string& path, OsError& error,
                                                        WriteFaultPlan faults = nullptr);
  // Creates the file name (a name, not a path) in the folder, never opening or replacing an existing
  // entry of that name: Exists is told apart from every other failure. A name that is not plain
  // (IsPlainName) is refused.
  [[nodiscard]] NewFile CreateNew(std::u16string_view name) const;
  // Gives the folder's file from the name to (names, not paths), never replacing an entry of that name:
  // the results are CreateNew's, Created once it is renamed.
  [[nodiscard]] CreateResult RenameNew(std::u16string_view from, std::u16string_view to, OsError& error) const;
  // Whether CreateUnnamed gives files in this folder.
  [[nodiscard]] bool MakesUnnamedFiles() const;
  // A new file in the folder that has no name yet, and is gone when closed unless it was named: a file cut
  // off at any moment, even by SIGKILL or a power cut, leaves nothing. None where the file system makes
  // no such files (Windows, FAT, NFS, most FUSE); a failed one counts as a create for the faults.
  [[nodiscard]] std::optional<NewFile> CreateUnnamed() const;
  // Gives a file from CreateUnnamed, still open, its name, never replacing an entry: as RenameNew, and
  // counted as a rename for the faults.
  [[nodiscard]] CreateResult NameUnnamed(const OutputFile& file, std::u16string_view name, OsError& error) const;
  // Removes the folder's file name; whether it went, with the system's reason when not.
  [[nodiscard]] bool Remove(std::u16string_view name, OsError& error) const;

 private:
#ifdef _WIN32
  // Windows has no creation relative to a folder handle in its documented API; names are joined.
  OutputFolder(std::u16string path, WriteFaultPlan faults) : path_(std::move(path)), faults_(std::move(faults)) {}
  std::u16string path_;
#else
  // How an unnamed file is named: by its descriptor where the kernel lets its opener link it (Linux 6.10
  // on, or with CAP_DAC_READ_SEARCH), else through its /proc path.
  enum class Linking { None, ByDescriptor, ByProcPath };
  OutputFolder(OsHandle fd, WriteFaultPlan faults, Linking linking)
      : fd_(std::move(fd)), faults_(std::move(faults)), linking_(linking) {}
  OsHandle fd_;
#endif
  WriteFaultPlan faults_;
#ifndef _WIN32
  Linking linking_;
#endif
};

}  // namespace platform
