#pragma once

#include <filesystem>
#include <string>

#include "repair/core/job.h"

namespace repair {

// One GET of `url` into a new file named `file`, publishing progress at most every 0.35 s. The
// file is created when the body starts, only where nothing stands yet: when something does, the
// next free numbered name (NumberedTempName) is taken. On return `file` names the file really
// made, or is empty when none was (or a stop removed it): the caller removes only that. True when
// the whole body was written and no stop was requested. On false the failure is recorded with
// FailJob, except after a stop, which deletes the file and records nothing.
[[nodiscard]] bool DownloadPackage(Job& job, const std::wstring& url, std::filesystem::path& file);

}  // namespace repair
