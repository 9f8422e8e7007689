#pragma once

#include <cstdint>

namespace platform {

// A running child process as the OS names it, not owned by the holder. Portable code only passes
// it around; whoever started the process keeps it alive while others may hold this reference.
struct ProcessRef {
  std::uintptr_t value = 0;

  explicit operator bool() const { return value != 0; }
  bool operator==(const ProcessRef&) const = default;
};

// Ends the referenced process with `exitCode`. Returns false when it could not be ended.
bool TerminateProcessRef(ProcessRef process, unsigned exitCode);

}  // namespace platform
