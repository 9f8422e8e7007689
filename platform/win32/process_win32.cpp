#include <windows.h>

#include "platform/process.h"

namespace platform {

bool TerminateProcessRef(ProcessRef process, unsigned exitCode) {
  if (!process) return false;
  return TerminateProcess(reinterpret_cast<HANDLE>(process.value), exitCode) != 0;
}

}  // namespace platform
