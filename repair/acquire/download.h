#pragma once

#include <filesystem>
#include <string>

#include "repair/core/job.h"

// One GET of `url` into `file`, publishing progress at most every 0.35 s. True when the whole
// body was written and no stop was requested. On false the failure is recorded with FailJob,
// except after a stop, which deletes the file and records nothing.
[[nodiscard]] bool DownloadPackage(Job& job, const std::wstring& url,
                                   const std::filesystem::path& file);
