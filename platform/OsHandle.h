#pragma once
// An open file of the operating system (a descriptor or a HANDLE, held as an integer) that closes
// itself and can only be moved, so that the classes holding one need no code of their own for either.
#include <cstdint>
#include <utility>

namespace platform {

class OsHandle {
 public:
  // -1 is both the invalid descriptor and INVALID_HANDLE_VALUE.
  static constexpr std::intptr_t kClosed = -1;

  explicit OsHandle(std::intptr_t value) : value_(value) {}
  OsHandle(OsHandle&& other) noexcept : value_(std::exchange(other.value_, kClosed)) {}
  OsHandle& operator=(OsHandle&& other) noexcept {
    if (this != &other) {
      Close();
      value_ = std::exchange(other.value_, kClosed);
    }
    return *this;
  }
  OsHandle(const OsHandle&) = delete;
  OsHandle& operator=(const OsHandle&) = delete;
  ~OsHandle() { Close(); }

  std::intptr_t Get() const { return value_; }
  // Closes now; false when the system reported a failure (its error is left for the caller to read).
  // Closing a closed handle succeeds.
  bool Close() { return value_ == kClosed || CloseOsHandle(std::exchange(value_, kClosed)); }

 private:
  // platform/posix and platform/win32 each close their own kind.
  static bool CloseOsHandle(std::intptr_t value);

  std::intptr_t value_;
};

}  // namespace platform
