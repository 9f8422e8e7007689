#pragma once

#include <functional>

#include "repair/core/job.h"

// Runs one repair or reinstall job from its first status line to its clean-up: URL check,
// download, hash check, extraction, file pass, Uninstall.exe and the Programs and Features entry.
// The outcome is in the status record; `onComplete` (the window's completion message) is called
// only after a completed job. The temporary download (with `cleanupArchive`) and the extraction
// folder are removed on every path.
void RunRepairJob(Job& job, JobMode mode, const std::function<void()>& onComplete);
