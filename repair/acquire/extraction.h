#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "repair/core/job.h"

// Unpacks the package into `folder` with the extractors Windows or the user provides (tar, then
// PowerShell for a zip; the installed RAR extractors in order for a rar), then flattens a single
// top folder. False after FailJob, a stop included (the killed extractor's failure).
[[nodiscard]] bool ExtractPackage(Job& job, const std::filesystem::path& archive,
                                  const std::filesystem::path& folder);
