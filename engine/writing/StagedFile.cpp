#include "engine/writing/StagedFile.h"

#include <utility>

#include "engine/naming/DecimalText.h"

StagedFile::~StagedFile() {
  try {
    Discard();
  } catch (...) {
    // Unwinding already: the working file stays, hidden, and nothing under a message's name.
  }
}

bool StagedFile::Make(platform::OsError& error) {
  while (true) {
    std::u16string name = u".palvenor-" + DecimalText(workingNumber_++) + u".tmp";
    platform::NewFile made = folder_.CreateNew(name);
    if (made.result == platform::CreateResult::Created) {
      working_ = std::move(name);
      file_.emplace(std::move(*made.file));
      return true;
    }
    if (made.result != platform::CreateResult::Exists) {
      error = std::move(made.error);
      return false;
    }
  }
}

bool StagedFile::Append(std::span<const std::uint8_t> bytes, platform::OsError& error) {
  if (!file_ && !Make(error)) return false;
  return file_->Append(bytes, error);
}

bool StagedFile::Close(platform::OsError& error, platform::FileTime time) {
  if (!file_ && !Make(error)) return false;
  const bool closed = file_->Close(error, time);
  file_.reset();
  return closed;
}

platform::CreateResult StagedFile::Publish(std::u16string_view name, platform::OsError& error) {
  const platform::CreateResult result = folder_.RenameNew(working_, name, error);
  if (result == platform::CreateResult::Created) working_.clear();
  return result;
}

std::u16string StagedFile::Discard() {
  file_.reset();
  std::u16string left;
  platform::OsError ignored;
  if (Made() && !folder_.Remove(working_, ignored)) left = working_;
  working_.clear();
  return left;
}
