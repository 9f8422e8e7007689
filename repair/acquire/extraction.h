#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "repair/core/job.h"

namespace repair {

// Unpacks the package into a new folder named `folder` with the extractors Windows or the user
// provides (tar.exe, then PowerShell's Expand-Archive, both from System32, for a zip; the
// installed RAR extractors in order for a rar), then flattens a single top folder. The folder is
// created only where nothing stands yet: when something does, the next free numbered name
// (NumberedTempName) is taken. On return `folder` names the folder really made, or is empty when
// none was: the caller removes only that. False after FailJob, a stop included (the killed
// extractor's failure).
[[nodiscard]] bool ExtractPackage(Job& job, const std::filesystem::path& archive,
                                  std::filesystem::path& folder);

}  // namespace repair
