#pragma once

#include "repair/core/job.h"

namespace repair {

// Whether the clean reinstall may empty `clientFolder`: not a drive root, at least 6 characters
// in canonical form, really the folder that holds the tool, and none of the user's or the
// system's own folders. Every resolution error counts as unsafe.
[[nodiscard]] bool IsSafeClientFolder(const Job& job);

// The clean reinstall step: removes everything in the client folder but the tool itself. False,
// after FailJob and with nothing removed, when the folder is not safe; true otherwise, whatever
// could be removed.
[[nodiscard]] bool RemoveOldClientFiles(Job& job);

}  // namespace repair
