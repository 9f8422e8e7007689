#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/powershell_quote.h"
#include "repair/core/job.h"

// Unpacks the package into `folder` with the extractors Windows or the user provides (tar, then
// PowerShell for a zip; the installed RAR extractors in order for a rar), then flattens a single
// top folder. False after FailJob, a stop included (the killed extractor's failure).
[[nodiscard]] bool ExtractPackage(Job& job, const std::filesystem::path& archive,
                                  const std::filesystem::path& folder);

// Runs `commandLine` hidden, published as the job's tool process, in 250 ms waits that let a
// stop request kill it. True only when it ran to its end with exit code 0. `exitCode` receives
// the code (0xFFFFFFFF when the start failed); it is left alone when the process was killed.
[[nodiscard]] bool RunHiddenProcess(RepairStatus& status, const std::wstring& commandLine,
                                    std::uint32_t* exitCode = nullptr);
