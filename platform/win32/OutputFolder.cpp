#include "platform/OutputFolder.h"

#include "platform/win32/FileCalls.h"
#include "platform/win32/Handle.h"
#include "platform/win32/OsErrors.h"

namespace platform {

using win32::ErrorFromCode;
using win32::LastError;

std::optional<OutputFolder> OutputFolder::Open(const std::u16string& path, OsError& error) {
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
  return OutputFolder(endsWithSeparator ? path : path + u'\\');
}

NewFile OutputFolder::CreateNew(std::u16string_view name) const {
  if (!IsPlainName(name)) return NewFile{CreateResult::Failed, std::nullopt, ErrorFromCode(ERROR_INVALID_NAME)};
  const std::u16string path = path_ + std::u16string(name);
  const HANDLE file = win32::CreateFileAt(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    const bool exists = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
    return NewFile{exists ? CreateResult::Exists : CreateResult::Failed, std::nullopt, ErrorFromCode(code)};
  }
  return NewFile{CreateResult::Created, OutputFile(win32::Owned(file)), {}};
}

}  // namespace platform
