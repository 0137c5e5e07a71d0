#pragma once
// Runs a test in a named time zone where the platform lets a process choose its zone.
#include <optional>
#include <string>

namespace testsupport {

class ScopedTimeZone {
 public:
  // An IANA zone name: "Asia/Tokyo" or "America/New_York".
  explicit ScopedTimeZone(const std::string& zone);
  ~ScopedTimeZone();
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

  // Empty when the process now runs in the zone; otherwise why it cannot, for a skipped test.
  const std::string& Unavailable() const { return unavailable_; }

 private:
  std::optional<std::string> previous_;
  std::string unavailable_;
};

}  // namespace testsupport
