#pragma once

#include "repair/core/job.h"

namespace repair {

// Writes the uninstaller the tool carries (RCDATA 203) into the client folder as Uninstall.exe,
// replacing an earlier one. True when written, and when the tool carries none.
[[nodiscard]] bool WriteUninstaller(const Job& job);

}  // namespace repair
