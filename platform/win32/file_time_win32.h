#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>

namespace platform::win32 {

using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;
inline constexpr std::int64_t kTicksFrom1601To1970 = 116'444'736'000'000'000;

// FILETIME counts 100 ns ticks from 1601; the file clock holds about 292 years either side of
// its epoch in nanoseconds, so a stamp beyond that is pinned to the edge instead of wrapping.
inline std::filesystem::file_time_type ToFileTime(const FILETIME& stamp) {
  namespace chrono = std::chrono;
  const std::uint64_t raw =
      (static_cast<std::uint64_t>(stamp.dwHighDateTime) << 32) | stamp.dwLowDateTime;
  const Ticks sinceUnix(static_cast<std::int64_t>(raw) - kTicksFrom1601To1970);
  const auto ticks = chrono::file_clock::from_sys(chrono::sys_time<Ticks>(sinceUnix));
  constexpr auto kLimit = chrono::duration_cast<Ticks>(chrono::nanoseconds::max()) - Ticks(1);
  return std::filesystem::file_time_type(std::clamp(ticks.time_since_epoch(), -kLimit, kLimit));
}

inline FILETIME ToFiletime(std::filesystem::file_time_type time) {
  namespace chrono = std::chrono;
  const auto sys = chrono::file_clock::to_sys(time);
  const std::int64_t raw =
      chrono::duration_cast<Ticks>(sys.time_since_epoch()).count() + kTicksFrom1601To1970;
  const auto value = static_cast<std::uint64_t>(raw < 0 ? 0 : raw);
  FILETIME stamp{};
  stamp.dwLowDateTime = static_cast<DWORD>(value);
  stamp.dwHighDateTime = static_cast<DWORD>(value >> 32);
  return stamp;
}

}  // namespace platform::win32
