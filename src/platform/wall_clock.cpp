#include "platform/wall_clock.h"

#include <chrono>
#include <cstdio>

namespace platform {

std::string UtcNow() {
  // The calendar of <chrono> rather than gmtime, whose result is shared by
  // every thread of the program.
  using namespace std::chrono;
  const auto now = floor<seconds>(system_clock::now());
  const auto day = floor<days>(now);
  const year_month_day date{day};
  const hh_mm_ss time{now - day};
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02ld:%02ld:%02ld UTC", int{date.year()},
                unsigned{date.month()}, unsigned{date.day()},
                static_cast<long>(time.hours().count()), static_cast<long>(time.minutes().count()),
                static_cast<long>(time.seconds().count()));
  return text;
}

}  // namespace platform
