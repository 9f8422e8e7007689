#pragma once

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace platform::host {

// The file clock holds about 292 years either side of its epoch in nanoseconds; a stamp beyond
// that (a damaged or hand-set one) is pinned to the edge instead of wrapping around.
inline std::filesystem::file_time_type ToFileTime(const timespec& stamp) {
  namespace chrono = std::chrono;
  using Seconds = chrono::duration<std::int64_t>;
  const auto seconds =
      chrono::file_clock::from_sys(chrono::sys_time<Seconds>(Seconds(stamp.tv_sec)));
  constexpr auto kLimit = chrono::duration_cast<Seconds>(chrono::nanoseconds::max()) - Seconds(1);
  const Seconds since = std::clamp(seconds.time_since_epoch(), -kLimit, kLimit);
  return std::filesystem::file_time_type(since + chrono::nanoseconds(stamp.tv_nsec));
}

inline timespec ToTimespec(std::filesystem::file_time_type time) {
  namespace chrono = std::chrono;
  const auto sys = chrono::file_clock::to_sys(time);
  const auto seconds = chrono::floor<chrono::seconds>(sys);
  timespec stamp{};
  stamp.tv_sec = static_cast<time_t>(seconds.time_since_epoch().count());
  stamp.tv_nsec =
      static_cast<long>(chrono::duration_cast<chrono::nanoseconds>(sys - seconds).count());
  return stamp;
}

}  // namespace platform::host
