#include "platform/OutputFolder.h"

#include "platform/win32/FileCalls.h"
#include "platform/win32/Handle.h"
#include "platform/win32/OsErrors.h"

namespace platform {

using win32::ErrorFromCode;
using win32::LastError;

namespace {

// A path too long is refused like a name too long: a shorter name may fit.
CreateResult ResultOf(DWORD code) {
  switch (code) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return CreateResult::Exists;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
      return CreateResult::NameRefused;
    default:
      return CreateResult::Failed;
  }
}

// Past MAX_PATH the system says the path is not found, though a shorter name would be.
CreateResult ResultAt(const std::u16string& path, DWORD code) {
  return code == ERROR_PATH_NOT_FOUND && path.size() >= MAX_PATH ? CreateResult::NameRefused : ResultOf(code);
}

}  // namespace

std::optional<OutputFolder> OutputFolder::Open(const std::u16string& path, OsError& error, WriteFaultPlan faults) {
  const DWORD attributes = win32::AttributesAt(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    error = LastError();
    return std::nullopt;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    error = ErrorFromCode(ERROR_DIRECTORY);
    return std::nullopt;
  }
  const bool endsWithSeparator = !path.empty() && (path.back() == u'\\' || path.back() == u'/');
  return OutputFolder(endsWithSeparator ? path : path + u'\\', std::move(faults));
}

NewFile OutputFolder::CreateNew(std::u16string_view name) const {
  if (!IsPlainName(name)) return NewFile{CreateResult::NameRefused, std::nullopt, ErrorFromCode(ERROR_INVALID_NAME)};
  if (const int fault = NextWriteFault(faults_, WriteCall::Create); fault != 0)
    return NewFile{ResultOf(static_cast<DWORD>(fault)), std::nullopt, ErrorFromCode(static_cast<DWORD>(fault))};
  const std::u16string path = path_ + std::u16string(name);
  const HANDLE file = win32::CreateFileAt(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    return NewFile{ResultAt(path, code), std::nullopt, ErrorFromCode(code)};
  }
  return NewFile{CreateResult::Created, OutputFile(win32::Owned(file), faults_), {}};
}

CreateResult OutputFolder::RenameNew(std::u16string_view from, std::u16string_view to, OsError& error) const {
  const std::u16string target = path_ + std::u16string(to);
  DWORD code = IsPlainName(from) && IsPlainName(to) ? static_cast<DWORD>(NextWriteFault(faults_, WriteCall::Rename))
                                                    : ERROR_INVALID_NAME;
  if (code == 0 && !win32::MoveFileAt(path_ + std::u16string(from), target)) code = GetLastError();
  if (code == 0) return CreateResult::Created;
  error = ErrorFromCode(code);
  return ResultAt(target, code);
}

// Windows has no file without a name: every file is made under a working name and renamed.
bool OutputFolder::MakesUnnamedFiles() const { return false; }

std::optional<NewFile> OutputFolder::CreateUnnamed() const { return std::nullopt; }

CreateResult OutputFolder::NameUnnamed(const OutputFile&, std::u16string_view, OsError& error) const {
  error = ErrorFromCode(ERROR_NOT_SUPPORTED);
  return CreateResult::Failed;
}

bool OutputFolder::Remove(std::u16string_view name, OsError& error) const {
  DWORD code = IsPlainName(name) ? static_cast<DWORD>(NextWriteFault(faults_, WriteCall::Remove)) : ERROR_INVALID_NAME;
  if (code == 0 && !win32::DeleteFileAt(path_ + std::u16string(name))) code = GetLastError();
  if (code == 0) return true;
  error = ErrorFromCode(code);
  return false;
}

}  // namespace platform
