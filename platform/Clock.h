#pragma once

namespace platform {

struct LocalDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

LocalDateTime LocalNow();

}  // namespace platform
