#pragma once
// Output calls made to fail on purpose: the k-th create, write, flush, rename or removal of a run fails with a chosen
// error, as a full disk or a failing device would make it. Tests hand a plan to the run; production
// runs have none, and the output calls then only go to the system.
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

enum class WriteCall { Create, Write, Flush, Rename, Remove };

// The code a fault fails with when the call is to throw std::bad_alloc instead, as the allocation of
// a path or a buffer inside it can.
inline constexpr int kAllocationFailure = -1;

struct WriteFault {
  WriteCall call = WriteCall::Write;
  int nth = 1;   // the call of that kind that fails, counted from 1 over the whole run
  int code = 0;  // the system's error code (errno or a Windows error), or kAllocationFailure
};

class WriteFaults {
 public:
  // before, when given, runs on the calling thread ahead of every call with its kind and number, so
  // that a test can act at a chosen call (press Stop while a file is in hand).
  using Observer = std::function<void(WriteCall call, int nth)>;
  explicit WriteFaults(std::vector<WriteFault> faults, Observer before = {})
      : faults_(std::move(faults)), before_(std::move(before)) {}

  // Counts one call of the kind: the error code it fails with, or 0 when it goes to the system.
  // Throws std::bad_alloc for kAllocationFailure. Safe to call from several threads.
  [[nodiscard]] int Next(WriteCall call);

  // Makes the run's folders act as on a file system without unnamed files (FAT, NFS, FUSE), where every
  // file is made under a working name and renamed; call it before the run.
  void RefuseUnnamedFiles() { unnamedRefused_ = true; }
  [[nodiscard]] bool UnnamedFilesRefused() const { return unnamedRefused_; }
  // Makes them act as on a file system with neither renames that refuse to replace nor hard links
  // (VirtualBox shared folders, cloud drives mounted through FUSE); Windows renames never replace.
  void RefuseExclusiveRenames() { exclusiveRenamesRefused_ = true; }
  [[nodiscard]] bool ExclusiveRenamesRefused() const { return exclusiveRenamesRefused_; }

 private:
  const std::vector<WriteFault> faults_;
  const Observer before_;
  std::array<std::atomic<int>, 5> calls_{};
  bool unnamedRefused_ = false;
  bool exclusiveRenamesRefused_ = false;
};

// A run's plan, shared by the run's folders and files; null in production.
using WriteFaultPlan = std::shared_ptr<WriteFaults>;

// Next on the plan, or 0 without one.
[[nodiscard]] inline int NextWriteFault(const WriteFaultPlan& plan, WriteCall call) {
  return plan ? plan->Next(call) : 0;
}

// The system's codes of the failures tests inject most: a full disk, a device that fails, and a file
// larger than the limit allows.
int DiskFullCode();
int DeviceErrorCode();
int FileTooLargeCode();

}  // namespace platform
