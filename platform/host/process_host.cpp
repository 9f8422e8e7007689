#include <signal.h>
#include <sys/types.h>

#include "platform/process.h"

namespace platform {

// POSIX cannot impose an exit code on another process; SIGKILL ends it just as surely.
bool TerminateProcessRef(ProcessRef process, unsigned) {
  if (!process) return false;
  return kill(static_cast<pid_t>(process.value), SIGKILL) == 0;
}

}  // namespace platform
