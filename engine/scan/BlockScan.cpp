#include "engine/scan/BlockScan.h"

#include <algorithm>
#include <vector>

#include "engine/scan/CandidateSearch.h"

namespace {

// The first window's search start: the first match whose block header lies within the store.
constexpr std::int64_t kFirstSearchStart = kAreaSizeAt + 1;

bool HasValidLength(const DbxBlock& block) { return block.DataLength > 0 && block.DataLength <= kAreaSize; }

// The blocks one message's chain walk has taken, so that a chain leading back into itself, or into a
// block that overlaps one of its own, ends: a message can then never hold more than the store.
// An open-addressed table keyed by the 528-byte slice a block starts in, kept for the whole scan,
// whose entries of earlier messages are told apart by their generation: a message costs no allocation
// and no clearing. The blocks taken never overlap, so a slice holds at most one of them.
class ChainVisits {
 public:
  void Start(std::int64_t position) {
    ++generation_;
    count_ = 0;
    Add(position);
  }
  // Whether a block at position would share a byte with a block taken.
  bool Overlaps(std::int64_t position) const {
    const std::int64_t slice = position / kBlockSize;
    for (std::int64_t near = slice - 1; near <= slice + 1; ++near) {
      const std::int64_t* taken = Find(near);
      if (taken != nullptr && *taken > position - kBlockSize && *taken < position + kBlockSize) return true;
    }
    return false;
  }
  void Add(std::int64_t position) {
    if ((count_ + 1) * 2 > positions_.size()) Grow();
    Insert(position);
  }

 private:
  std::size_t Slot(std::int64_t slice) const {
    return static_cast<std::size_t>((static_cast<std::uint64_t>(slice) * 0x9E3779B97F4A7C15u) >> 32) &
           (positions_.size() - 1);
  }
  const std::int64_t* Find(std::int64_t slice) const {
    for (std::size_t i = Slot(slice);; i = (i + 1) & (positions_.size() - 1)) {
      if (generations_[i] != generation_) return nullptr;
      if (positions_[i] / kBlockSize == slice) return &positions_[i];
    }
  }
  void Insert(std::int64_t position) {
    std::size_t i = Slot(position / kBlockSize);
    while (generations_[i] == generation_) i = (i + 1) & (positions_.size() - 1);
    generations_[i] = generation_;
    positions_[i] = position;
    ++count_;
  }
  void Grow() {
    std::vector<std::int64_t> current;
    for (std::size_t i = 0; i < positions_.size(); ++i)
      if (generations_[i] == generation_) current.push_back(positions_[i]);
    const std::size_t size = positions_.size() * 2;
    positions_.assign(size, 0);
    generations_.assign(size, 0);
    count_ = 0;
    for (const std::int64_t position : current) Insert(position);
  }

  std::vector<std::int64_t> positions_ = std::vector<std::int64_t>(64, 0);
  std::vector<std::uint32_t> generations_ = std::vector<std::uint32_t>(64, 0);
  std::uint32_t generation_ = 0;
  std::size_t count_ = 0;
};

class Scan {
 public:
  Scan(StoreReader& store, bool skipPointerCheck, UsedBlockList& used, ScanHost& host, PairWatcher* watcher)
      : store_(store), skipPointerCheck_(skipPointerCheck), used_(used), host_(host), watcher_(watcher) {}

  ScanFindings Run();

 private:
  // What follows a step: the next search in the window, the window advance, the window advance as the
  // scan's last step, or the scan's end.
  enum class Next { SearchAgain, AdvanceWindow, EndAfterAdvance, End };

  // Searches the loaded window from s_ and examines each candidate; leaves k_ and s_ for the advance.
  Next SearchWindow();
  // The next candidate in the loaded window from s_, feeding the watcher on the way.
  std::int64_t Find() const;
  // Counts the candidates that only the pointer check refuses.
  bool Accepts(std::int64_t blockPosition, const DbxBlock& block);
  // Examines the candidate at window position m_, extracting its message when it is accepted.
  Next Examine();
  // Start adjustment, chain walk and final block of the accepted candidate at block.
  Next Assemble(std::int64_t block, DbxBlock current);

  StoreReader& store_;
  const bool skipPointerCheck_;
  UsedBlockList& used_;
  ScanHost& host_;
  PairWatcher* const watcher_;

  std::int64_t p_ = 1;  // window start
  std::int64_t s_ = kFirstSearchStart;  // search start in the window
  std::int64_t m_ = 0;  // match position in the window
  std::int64_t k_ = 1;  // windows to advance
  ChainVisits visits_;
  ScanFindings findings_;
};

ScanFindings Scan::Run() {
  const std::int64_t length = store_.Length();
  while (p_ < length) {
    store_.LoadWindow(p_);
    if (watcher_ != nullptr) watcher_->WindowLoaded(store_.Window(), p_);
    const Next next = SearchWindow();
    if (next == Next::End) break;
    p_ += k_ * kWindowStep;
    if (!host_.WindowAdvanced(p_ + s_) || next == Next::EndAfterAdvance) break;
  }
  return findings_;
}

std::int64_t Scan::Find() const {
  return watcher_ != nullptr ? FindCandidate(store_.Window(), s_, *watcher_) : FindCandidate(store_.Window(), s_);
}

Scan::Next Scan::SearchWindow() {
  m_ = Find();
  if (m_ == 0) {
    k_ = 1;
    s_ = 1;
    return Next::AdvanceWindow;
  }
  while (true) {
    if (const Next next = Examine(); next != Next::SearchAgain) return next;
    s_ = m_ + 1;
    if (m_ > kWindowStep) {
      k_ = m_ / kWindowStep;
      s_ = m_ % kWindowStep + 1;
      host_.Pump();
      return Next::AdvanceWindow;
    }
    m_ = Find();
    host_.Pump();
    if (m_ == 0) {
      // The next window's first four positions were beyond this window's reach; starting its
      // search at 5 would lose a message whose first block lies there.
      k_ = 1;
      s_ = 1;
      return Next::AdvanceWindow;
    }
  }
}

bool Scan::Accepts(std::int64_t blockPosition, const DbxBlock& block) {
  if (block.AreaSize != kAreaSize || !HasValidLength(block) || block.OwnOffset == 0 || used_.Contains(blockPosition))
    return false;
  if (skipPointerCheck_ || StoresOwnOffset(blockPosition, block)) return true;
  ++findings_.pointerCheckRejects;
  return false;
}

Scan::Next Scan::Examine() {
  const std::int64_t block = p_ + m_ - 1 - kAreaSizeAt;
  DbxBlock current;
  if (!store_.ReadBlock(block, current) || !Accepts(block, current)) return Next::SearchAgain;
  return Assemble(block, current);
}

Scan::Next Scan::Assemble(std::int64_t block, DbxBlock current) {
  // Start adjustment: move on while the physically following block names this one as its successor.
  DbxBlock following;
  while (store_.ReadBlock(block + kBlockSize, following) && following.NextOffset == current.OwnOffset) {
    block += kBlockSize;
    m_ += kBlockSize;
    current = following;
  }
  const std::int64_t start = block;
  if (!host_.BeginMessage()) return Next::End;

  bool writeFailed = false;
  bool cutShort = false;
  bool contiguous = true;
  visits_.Start(block);
  while (current.NextOffset != 0 && current.NextOffset != current.OwnOffset && current.AreaSize == kAreaSize &&
         HasValidLength(current)) {
    if (!host_.AppendMessageBytes(store_.Data(block))) {
      writeFailed = true;
      break;
    }
    // The displacement between stored offsets and real positions found at the start holds for the chain.
    const std::int64_t next = NextChainPosition(block, current, store_.Length());
    if (next == 0 || visits_.Overlaps(next)) {
      cutShort = true;
      break;
    }
    if (next - block == kBlockSize && contiguous)
      m_ += kBlockSize;
    else
      contiguous = false;
    block = next;
    used_.Enter(block);
    visits_.Add(block);
    if (!store_.ReadBlock(block, current)) {
      cutShort = true;
      break;
    }
    host_.Pump();
  }
  if (!cutShort && !writeFailed && current.DataLength > 0) {
    const auto count = static_cast<std::size_t>(std::min(current.DataLength, kAreaSize));
    writeFailed = !host_.AppendMessageBytes(store_.Data(block).first(count));
  }
  const bool more = host_.EndMessage(start, cutShort || writeFailed);
  return more && !writeFailed ? Next::SearchAgain : Next::EndAfterAdvance;
}

}  // namespace

ScanFindings ScanStore(StoreReader& store, bool skipPointerCheck, UsedBlockList& used, ScanHost& host,
                       PairWatcher* watcher) {
  return Scan(store, skipPointerCheck, used, host, watcher).Run();
}
