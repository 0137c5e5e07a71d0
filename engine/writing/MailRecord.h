#pragma once
// The record the run keeps of each extracted message: what it needs to read the message again from
// the store, and the name its file got. The folder is kept once, by the run.
#include <cstdint>
#include <string>

#include "platform/FileTimes.h"

struct MailRecord {
  // The values of Status.
  static constexpr std::int32_t kRemoved = 0;    // removed as a duplicate
  static constexpr std::int32_t kExtracted = 1;
  static constexpr std::int32_t kCutShort = 3;   // extracted, but a read failure ended its chain early

  // The name of the message's file in the run's folder (or the deleted-mail folder); empty until the
  // file is made.
  std::u16string FileName;
  std::int64_t StartBlock = 0;  // 1-based store position of the message's first block
  std::int64_t Length = 0;      // the bytes its chain gave: whole data areas, then the last block's DataLength
  std::int32_t Status = kRemoved;
  // Deleted mail: the store's index does not list it, so its file goes into the deleted-mail folder,
  // where FileName names it.
  bool Deleted = false;
  // The time its file is given: until the file is written, the UTC time the store's whole index gives a
  // listed message, for a header without a usable date; then the time the file was given, which the
  // run's list shows. 0 when there is none. One field for both keeps a record at 64 bytes.
  platform::FileTime Time = 0;
};
