#pragma once

#include <functional>
#include <thread>

#include "repair/core/job.h"

namespace repair {

// Runs one repair or reinstall job from its first status line to its clean-up: URL check,
// download, hash check, extraction, file pass, Uninstall.exe and the Programs and Features entry.
// The outcome is in the status record; `onComplete` (the window's completion message) is called
// only after a completed job. The temporary download (with `cleanupArchive`) and the extraction
// folder are removed on every path.
void RunRepairJob(Job& job, JobMode mode, const std::function<void()>& onComplete);

// Puts the thread `makeThread` returns into `worker`. When the system cannot make one
// (std::thread throws std::system_error, or std::bad_alloc for its state), the job that
// BeginJobStatus announced fails with "Could not start the repair job." and false is returned;
// nothing escapes.
template <typename MakeThread>
[[nodiscard]] bool StartWorkerThread(RepairStatus& status, std::thread& worker,
                                     MakeThread&& makeThread) {
  try {
    worker = makeThread();
    return true;
  } catch (...) {
    status.FailJob(L"Could not start the repair job.");
    return false;
  }
}

}  // namespace repair
