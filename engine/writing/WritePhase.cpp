#include "engine/writing/WritePhase.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "engine/naming/DateText.h"
#include "engine/naming/FileNaming.h"
#include "engine/naming/MailFileTime.h"
#include "engine/naming/NamePlan.h"
#include "engine/writing/BoundedQueue.h"
#include "engine/writing/MessageReader.h"
#include "engine/writing/StagedFile.h"
#include "mailinfo/MailInfo.h"
#include "platform/Paths.h"

namespace {

// Enough decided files for the writer never to wait on a header, few enough to cost nothing.
constexpr std::size_t kQueuedFiles = 256;
// Decided files handed to the writer at once: each thread then wakes the other once per this many files.
constexpr std::size_t kHandedFiles = 32;
// How often the calling thread shows the progress and handles events while the files are written.
constexpr auto kPumpInterval = std::chrono::milliseconds(40);

struct DecidedFile {
  std::int32_t record = 0;
  std::u16string text;  // the name text, for a second choice
  std::u16string name;
  std::u16string subject;
  std::optional<MailDate> date;
  platform::FileTime time = 0;
};

// The header of a message as it was analysed from its written file: the first piece when the header
// part ends in it, else the start up to the read limit.
HeaderInfo ReadHeader(MessageReader& reader, const MailRecord& record) {
  const std::vector<std::uint8_t> piece = reader.ReadStart(record.StartBlock, record.Length, kHeaderPieceSize);
  if (std::optional<HeaderInfo> info = AnalyseHeaderPiece(piece)) return std::move(*info);
  if (piece.size() < kHeaderPieceSize) return AnalyseHeaderBytes(piece);
  return AnalyseHeaderBytes(reader.ReadStart(record.StartBlock, record.Length, kHeaderReadLimit));
}

std::vector<bool> KeptRecords(const std::vector<MailRecord>& records) {
  std::vector<bool> kept(records.size(), false);
  for (std::size_t i = 1; i < records.size(); ++i) kept[i] = records[i].Status != MailRecord::kRemoved && !records[i].Deleted;
  return kept;
}

class Writing {
 public:
  Writing(std::vector<MailRecord>& records, StoreReads& store, std::int64_t scanLength,
          const WriteTarget& target)
      : records_(records), store_(store), scanLength_(scanLength), target_(target), plan_(KeptRecords(records)) {}

  // The two threads' work.
  void Decide();
  void Write();

  // Waits a while for the writer to finish; whether it has.
  bool WaitForEnd() {
    std::unique_lock lock(endMutex_);
    return ended_.wait_for(lock, kPumpInterval, [this] { return writerDone_; });
  }
  // Drops the files not yet written; the one being written is finished.
  void Stop() {
    halted_ = true;
    queue_.Cancel();
  }
  // The highest record the writer has gone past.
  std::size_t Reached() const { return reached_; }
  // What the threads threw, now on the calling thread, the writer's first; else what they did.
  WritePhaseResult Result() {
    if (writerThrew_) std::rethrow_exception(writerThrew_);
    if (deciderThrew_) std::rethrow_exception(deciderThrew_);
    return {written_, std::move(failure_)};
  }

 private:
  // Writes the record's file under a working name and gives it its name; false after recording the
  // failure that ends the writing.
  bool WriteFile(DecidedFile decided, MessageReader& reader);
  void DecideAll();
  void WriteAll();
  // Gives the written file the decided name, or the next free one, which decided then holds.
  bool Publish(StagedFile& file, DecidedFile& decided, platform::OsError& error);

  std::vector<MailRecord>& records_;
  StoreReads& store_;
  const std::int64_t scanLength_;
  const WriteTarget& target_;
  std::mutex planMutex_;  // the writer asks for a second name while the decider goes on
  NamePlan plan_;
  BoundedQueue<DecidedFile> queue_{kQueuedFiles, kHandedFiles};
  std::atomic<bool> halted_{false};
  std::atomic<std::int32_t> written_{0};
  std::atomic<std::size_t> reached_{0};
  std::int32_t workingNumber_ = 1;  // the writer's alone
  std::optional<MessageWriteFailure> failure_;  // the writer's alone until it is done
  std::exception_ptr deciderThrew_;  // each thread's own until both are joined
  std::exception_ptr writerThrew_;
  std::mutex endMutex_;
  std::condition_variable ended_;
  bool writerDone_ = false;
};

// An exception in either thread, an allocation failure included, stops both and is kept for the
// calling thread, which ends the run as any failed run; the files written so far stay.
void Writing::Decide() {
  try {
    DecideAll();
  } catch (...) {
    deciderThrew_ = std::current_exception();
    Stop();
  }
  queue_.Close();
}

void Writing::DecideAll() {
  MessageReader reader(store_, scanLength_);
  for (std::size_t i = 1; i < records_.size() && !halted_; ++i) {
    const MailRecord& record = records_[i];
    if (record.Status == MailRecord::kRemoved || record.Deleted) continue;
    const HeaderInfo header = ReadHeader(reader, record);
    DecidedFile decided;
    decided.record = static_cast<std::int32_t>(i);
    decided.text = FileNameText(header.Subject);
    decided.subject = header.Subject;
    decided.date = DateTextToDate(header.ReceivedDate);
    if (decided.date) {
      decided.time = DateToFileTime(*decided.date);
    } else if (record.ListedTime != 0) {
      // A header without a usable date leaves the UTC time the store's index gives, shown as local time.
      decided.time = record.ListedTime;
      decided.date = platform::FileTimeToLocal(record.ListedTime);
    }
    {
      const std::lock_guard lock(planMutex_);
      decided.name = plan_.Decide(decided.record, decided.text);
    }
    if (!queue_.Push(std::move(decided))) break;
  }
}

void Writing::Write() {
  try {
    WriteAll();
  } catch (...) {
    writerThrew_ = std::current_exception();
    Stop();
  }
  const std::lock_guard lock(endMutex_);
  writerDone_ = true;
  ended_.notify_all();
}

void Writing::WriteAll() {
  MessageReader reader(store_, scanLength_);
  while (std::optional<DecidedFile> decided = queue_.Pop()) {
    const auto record = static_cast<std::size_t>(decided->record);
    if (!WriteFile(std::move(*decided), reader)) {
      queue_.Cancel();
      break;
    }
    reached_ = record;
  }
  if (!halted_ && !failure_) reached_ = records_.size() - 1;
}

bool Writing::Publish(StagedFile& file, DecidedFile& decided, platform::OsError& error) {
  while (true) {
    const platform::CreateResult result = file.Publish(decided.name, error);
    if (result == platform::CreateResult::Created) return true;
    std::optional<std::u16string> next;
    if (result == platform::CreateResult::Exists) {
      const std::lock_guard lock(planMutex_);
      next = plan_.DecideAgain(decided.record, decided.text, decided.name);
    } else if (result == platform::CreateResult::NameRefused && decided.name != WorkingFileName(decided.record)) {
      // A name the file system refuses leaves the working name, as a refused rename did; any other
      // failure (a full disk, a failing device) would meet the working name as well and ends the writing.
      next = WorkingFileName(decided.record);
    }
    if (!next) return false;
    decided.name = std::move(*next);
  }
}

bool Writing::WriteFile(DecidedFile decided, MessageReader& reader) {
  MailRecord& record = records_[static_cast<std::size_t>(decided.record)];
  StagedFile file(target_.folder, workingNumber_);
  platform::OsError error;
  bool appended = true;
  const bool whole = reader.Read(record.StartBlock, record.Length, record.Length, [&](std::span<const std::uint8_t> bytes) {
    appended = file.Append(bytes, error);
    return appended;
  });
  // A first block that was read in the scan but cannot be read now gives no empty file: the message
  // stays unwritten, and the writing goes on.
  if (!whole && appended && !file.Made()) return true;
  if (!appended || !file.Close(error, decided.time) || !Publish(file, decided, error)) {
    const std::u16string left = file.Discard();
    failure_ = MessageWriteFailure{platform::JoinPath(target_.path, decided.name), std::move(error),
                                   left.empty() ? left : platform::JoinPath(target_.path, left)};
    return false;
  }
  // A store cut shorter since the scan gives a shorter message.
  if (!whole) record.Status = MailRecord::kCutShort;
  record.FileName = decided.name;
  record.Subject = std::move(decided.subject);
  record.Date = decided.date;
  ++written_;
  return true;
}

// Hands on the progress record by record, as far as the writer has gone, pumping events after each as
// the user knows it from the rename pass; stops the writing as soon as stop is seen.
class Progress {
 public:
  Progress(const std::vector<MailRecord>& records, WriteHost& host, const std::atomic<bool>& stop, Writing& writing)
      : records_(records), host_(host), stop_(stop), writing_(writing) {}

  void ShowUpTo(std::size_t reached) {
    const std::size_t recordCount = records_.size() - 1;
    while (shown_ < reached) {
      ++shown_;
      // Every record up to the one reached that has its name is written.
      if (!records_[shown_].FileName.empty()) ++written_;
      host_.ShowProgress(shown_, recordCount, written_);
      Pump();
    }
  }
  void Pump() {
    host_.Pump();
    if (stop_) writing_.Stop();
  }

 private:
  const std::vector<MailRecord>& records_;
  WriteHost& host_;
  const std::atomic<bool>& stop_;
  Writing& writing_;
  std::size_t shown_ = 0;
  std::int32_t written_ = 0;
};

}  // namespace

WritePhaseResult WriteMessages(std::vector<MailRecord>& records, StoreReads& store,
                               std::int64_t scanLength, const WriteTarget& target, const std::atomic<bool>& stop,
                               WriteHost& host, const ThreadStart& start) {
  // A stop asked for since the scan ended, during duplicate removal or just now, writes nothing.
  host.Pump();
  if (records.size() <= 1 || stop) return {};
  Writing writing(records, store, scanLength, target);
  Progress progress(records, host, stop, writing);
  std::thread decider = start([&writing] { writing.Decide(); });
  std::thread writer;
  try {
    writer = start([&writing] { writing.Write(); });
  } catch (...) {
    // Without a writer the decider's queue never empties: it is stopped before it is joined.
    writing.Stop();
    decider.join();
    throw;
  }
  // Whatever the window's calls throw, the file being written is finished and both threads end first.
  const auto end = [&] {
    writer.join();
    decider.join();
  };
  try {
    bool ended = false;
    while (!ended) {
      ended = writing.WaitForEnd();
      progress.ShowUpTo(writing.Reached());
      progress.Pump();
    }
  } catch (...) {
    writing.Stop();
    end();
    throw;
  }
  end();
  return writing.Result();
}
