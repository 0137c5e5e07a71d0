#include "engine/writing/WritePhase.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <span>
#include <thread>
#include <utility>

#include "engine/naming/DateText.h"
#include "engine/naming/FileNaming.h"
#include "engine/naming/MailFileTime.h"
#include "engine/naming/NamePlan.h"
#include "engine/writing/BoundedQueue.h"
#include "engine/writing/MessageReader.h"
#include "engine/writing/SpareBuffers.h"
#include "engine/writing/StagedFile.h"
#include "mailinfo/MailInfo.h"
#include "platform/Paths.h"

namespace {

// Enough decided files for the writer never to wait on a header, few enough that the messages they
// hold cost a few megabytes.
constexpr std::size_t kQueuedFiles = 64;
// Files handed on at once, decided ones to the writer and written ones to be named: each thread then
// wakes the next once per this many files.
constexpr std::size_t kHandedFiles = 16;
// How often the calling thread shows the progress and handles events while the files are written.
constexpr auto kPumpInterval = std::chrono::milliseconds(40);

struct DecidedFile {
  std::int32_t record = 0;
  std::vector<std::uint8_t> bytes;  // what the decider read: a short message whole, unless a block failed
  std::u16string text;  // the name text, for a second choice
  std::u16string name;
  platform::FileTime time = 0;
};

// A file the writer wrote whole, unnamed or under its working name, or none when its message could no
// longer be read, on its way to its name.
struct ClosedFile {
  DecidedFile decided;
  std::optional<StagedFile> file;
  bool whole = true;
};

// Messages up to this size are read whole by the decider and written from its reading: the writer,
// which the other threads wait for, then only writes them. It is the read limit for a header, so a
// message read whole gives the header that its first bytes give.
constexpr std::int64_t kHandedMessageSize = kHeaderReadLimit;

// The header of a message as it was analysed from its written file: the first piece when the header
// part ends in it, else the start up to the read limit. Leaves in bytes what was read: a message of up
// to kHandedMessageSize whole, unless a block could not be read.
HeaderInfo ReadHeader(MessageReader& reader, const MailRecord& record, std::vector<std::uint8_t>& bytes) {
  const bool whole = record.Length <= kHandedMessageSize;
  reader.ReadStart(record.StartBlock, record.Length, whole ? record.Length : kHeaderPieceSize, bytes);
  const auto piece = std::span<const std::uint8_t>(bytes).first(std::min(bytes.size(), kHeaderPieceSize));
  if (std::optional<HeaderInfo> info = AnalyseHeaderPiece(piece)) return std::move(*info);
  if (piece.size() < kHeaderPieceSize) return AnalyseHeaderBytes(piece);
  if (!whole) reader.ReadStart(record.StartBlock, record.Length, kHeaderReadLimit, bytes);
  return AnalyseHeaderBytes(bytes);
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

  // The three threads' work.
  void Decide();
  void Write();
  void Name();

  // Waits a while for the writer to finish; whether it has.
  bool WaitForEnd() {
    std::unique_lock lock(endMutex_);
    return ended_.wait_for(lock, kPumpInterval, [this] { return namerDone_; });
  }
  // Drops the files not yet written; the one being written is finished, and every file written whole
  // is still given its name.
  void Stop() {
    halted_ = true;
    queue_.Cancel();
  }
  // Stops and drops the written files not yet named too, removing them: once naming fails, or when the
  // namer is missing.
  void Abandon() {
    Stop();
    closed_.Cancel();
  }
  // The highest record the writing has gone past.
  std::size_t Reached() const { return reached_; }
  // What the threads threw, now on the calling thread, the namer's and writer's first; else what they
  // did, with the failure of the earlier file when both the writer and the namer met one.
  WritePhaseResult Result() {
    if (namerThrew_) std::rethrow_exception(namerThrew_);
    if (writerThrew_) std::rethrow_exception(writerThrew_);
    if (deciderThrew_) std::rethrow_exception(deciderThrew_);
    return {written_, std::move(namingFailure_ ? namingFailure_ : writingFailure_)};
  }

 private:
  // Writes the record's file, unnamed or under a working name, and names it or hands it on to be named;
  // false when the writing ends, after recording the failure that ends it, if it was the writer's.
  bool WriteFile(DecidedFile decided, MessageReader& reader);
  // Gives a written file its name and counts its record as reached; false after recording the failure
  // that ends the writing.
  bool NameFile(ClosedFile closed);
  void DecideAll();
  void WriteAll();
  void NameAll();
  MessageWriteFailure Failure(const std::u16string& name, platform::OsError error, StagedFile& file) const;
  // Gives the written file the decided name, or the next free one, which decided then holds.
  bool Publish(StagedFile& file, DecidedFile& decided, platform::OsError& error);

  std::vector<MailRecord>& records_;
  StoreReads& store_;
  const std::int64_t scanLength_;
  const WriteTarget& target_;
  std::mutex planMutex_;  // the writer asks for a second name while the decider goes on
  NamePlan plan_;
  BoundedQueue<DecidedFile> queue_{kQueuedFiles, kHandedFiles};
  SpareBuffers spares_;
  // Renaming a working file costs as much as writing a small file: on its own thread it leaves the
  // writer its pace. Linking an unnamed file costs the writer less than handing it on, and keeps the
  // folder's entries to one thread, as creating files under their names would.
  const bool namedAsWritten_ = target_.folder.MakesUnnamedFiles();
  BoundedQueue<ClosedFile> closed_{kQueuedFiles, kHandedFiles};
  std::atomic<bool> halted_{false};
  std::atomic<std::int32_t> written_{0};
  std::atomic<std::size_t> reached_{0};
  std::int32_t workingNumber_ = 1;  // the writer's alone
  std::optional<MessageWriteFailure> writingFailure_;  // each thread's own until all are joined
  std::optional<MessageWriteFailure> namingFailure_;
  std::exception_ptr deciderThrew_;
  std::exception_ptr writerThrew_;
  std::exception_ptr namerThrew_;
  std::mutex endMutex_;
  std::condition_variable ended_;
  bool namerDone_ = false;
};

// An exception in any of the three threads, an allocation failure included, stops the writing and is
// kept for the calling thread, which ends the run as any failed run; the files written so far stay.
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
    DecidedFile decided;
    decided.bytes = spares_.Take(static_cast<std::size_t>(
        record.Length <= kHandedMessageSize ? record.Length : static_cast<std::int64_t>(kHeaderPieceSize)));
    HeaderInfo header = ReadHeader(reader, record, decided.bytes);
    decided.record = static_cast<std::int32_t>(i);
    decided.text = FileNameText(header.Subject);
    if (target_.subjects) target_.subjects->Put(i, header.Subject);
    // A header without a usable date leaves the UTC time the store's index gives, if any.
    const std::optional<MailDate> date = DateTextToDate(header.ReceivedDate);
    decided.time = date ? DateToFileTime(*date) : record.Time;
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
  // The files closed so far are named still.
  closed_.Close();
}

void Writing::WriteAll() {
  MessageReader reader(store_, scanLength_);
  while (std::optional<DecidedFile> decided = queue_.Pop()) {
    if (!WriteFile(std::move(*decided), reader)) {
      Stop();
      break;
    }
  }
}

void Writing::Name() {
  try {
    NameAll();
  } catch (...) {
    namerThrew_ = std::current_exception();
    Abandon();
  }
  const std::lock_guard lock(endMutex_);
  namerDone_ = true;
  ended_.notify_all();
}

void Writing::NameAll() {
  while (std::optional<ClosedFile> closed = closed_.Pop()) {
    if (!NameFile(std::move(*closed))) {
      Abandon();
      return;
    }
  }
  if (!halted_) reached_ = records_.size() - 1;
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

MessageWriteFailure Writing::Failure(const std::u16string& name, platform::OsError error, StagedFile& file) const {
  const std::u16string left = file.Discard();
  return {platform::JoinPath(target_.path, name), std::move(error),
          left.empty() ? left : platform::JoinPath(target_.path, left)};
}

bool Writing::WriteFile(DecidedFile decided, MessageReader& reader) {
  const MailRecord& record = records_[static_cast<std::size_t>(decided.record)];
  ClosedFile closed{std::move(decided), StagedFile(target_.folder, workingNumber_)};
  StagedFile& file = *closed.file;
  platform::OsError error;
  bool appended = true;
  std::vector<std::uint8_t>& read = closed.decided.bytes;
  if (!read.empty() && std::cmp_equal(read.size(), record.Length)) {
    appended = file.Write(read, error);
  } else {
    const auto append = [&](std::span<const std::uint8_t> bytes) {
      appended = file.Append(bytes, error);
      return appended;
    };
    closed.whole = reader.Read(record.StartBlock, record.Length, record.Length, append);
  }
  spares_.Give(std::move(read));
  // A first block that was read in the scan but cannot be read now gives no empty file: the message
  // stays unwritten, and the writing goes on.
  if (!closed.whole && appended && !file.Made()) {
    closed.file.reset();
  } else if (!appended || !file.Close(error, closed.decided.time)) {
    writingFailure_ = Failure(closed.decided.name, std::move(error), file);
    return false;
  }
  if (namedAsWritten_) return NameFile(std::move(closed));
  // Dropped, and so removed, only when the namer has stopped.
  return closed_.Push(std::move(closed));
}

bool Writing::NameFile(ClosedFile closed) {
  DecidedFile& decided = closed.decided;
  const auto reached = static_cast<std::size_t>(decided.record);
  if (!closed.file) {
    reached_ = reached;
    return true;
  }
  platform::OsError error;
  if (!Publish(*closed.file, decided, error)) {
    namingFailure_ = Failure(decided.name, std::move(error), *closed.file);
    return false;
  }
  MailRecord& record = records_[static_cast<std::size_t>(decided.record)];
  // A store cut shorter since the scan gives a shorter message.
  if (!closed.whole) record.Status = MailRecord::kCutShort;
  record.FileName = decided.name;
  record.Time = decided.time;
  ++written_;
  reached_ = reached;
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
      if (!records_[shown_].FileName.empty()) {
        ++written_;
        host_.Named(shown_);
      }
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
  std::vector<std::thread> threads;
  // Whatever the window's calls throw, the file being written is finished and named, and every thread
  // ends first.
  const auto end = [&threads] {
    for (auto thread = threads.rbegin(); thread != threads.rend(); ++thread) thread->join();
  };
  const std::function<void()> works[] = {[&writing] { writing.Decide(); }, [&writing] { writing.Write(); },
                                         [&writing] { writing.Name(); }};
  for (const std::function<void()>& work : works) {
    try {
      threads.push_back(start(work));
    } catch (...) {
      // Without the next thread the queue before it never empties: those started are stopped first.
      writing.Abandon();
      end();
      throw;
    }
  }
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
