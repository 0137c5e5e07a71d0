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
  if (std::optional<platform::NewFile> unnamed = folder_.CreateUnnamed()) {
    if (unnamed->result != platform::CreateResult::Created) {
      error = std::move(unnamed->error);
      return false;
    }
    unnamed_ = true;
    file_.emplace(std::move(*unnamed->file));
    return true;
  }
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

bool StagedFile::Write(std::span<const std::uint8_t> bytes, platform::OsError& error) {
  if (!file_ && !Make(error)) return false;
  return file_->Write(bytes, error);
}

bool StagedFile::Close(platform::OsError& error, platform::FileTime time) {
  if (!file_ && !Make(error)) return false;
  if (unnamed_) return file_->Finish(error, time);
  const bool closed = file_->Close(error, time);
  file_.reset();
  return closed;
}

platform::CreateResult StagedFile::Publish(std::u16string_view name, platform::OsError& error) {
  if (unnamed_) {
    const platform::CreateResult result = folder_.NameUnnamed(file_->File(), name, error);
    // Closed silently once named: the file systems that make unnamed files report a failed write at the
    // run's flush, never at a close.
    if (result == platform::CreateResult::Created) {
      file_.reset();
      unnamed_ = false;
    }
    return result;
  }
  const platform::CreateResult result = folder_.RenameNew(working_, name, error);
  if (result == platform::CreateResult::Created) working_.clear();
  return result;
}

std::u16string StagedFile::Discard() {
  file_.reset();
  // An unnamed file is gone with its closing.
  unnamed_ = false;
  std::u16string left;
  platform::OsError ignored;
  if (Made() && !folder_.Remove(working_, ignored)) left = working_;
  working_.clear();
  return left;
}
