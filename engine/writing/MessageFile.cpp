#include "engine/writing/MessageFile.h"

namespace {

// Most messages fit whole; a long chain is written in pieces of this size, never held entire.
constexpr std::size_t kFlushSize = 1 << 20;

}  // namespace

bool MessageFile::Append(std::span<const std::uint8_t> bytes, platform::OsError& error) {
  pending_.insert(pending_.end(), bytes.begin(), bytes.end());
  return pending_.size() < kFlushSize || Flush(error);
}

bool MessageFile::Write(std::span<const std::uint8_t> bytes, platform::OsError& error) {
  return (pending_.empty() || Flush(error)) && file_.Write(bytes, error);
}

bool MessageFile::Flush(platform::OsError& error) {
  const bool written = file_.Write(pending_, error);
  pending_.clear();
  return written;
}

bool MessageFile::Finish(platform::OsError& error, platform::FileTime time) {
  const bool flushed = pending_.empty() || Flush(error);
  if (flushed && time != 0) static_cast<void>(file_.SetTimes(time, time));
  return flushed;
}

bool MessageFile::Close(platform::OsError& error, platform::FileTime time) {
  const bool flushed = Finish(error, time);
  platform::OsError closeError;
  const bool closed = file_.Close(closeError);
  if (flushed && !closed) error = closeError;
  return flushed && closed;
}
