#pragma once

#include <filesystem>

#include "repair/core/job.h"

// The job's temporary download file: <temp>\<repairToolName>_<pid>_<ticks>.zip (or .rar).
[[nodiscard]] std::filesystem::path MakeDownloadPath(const Job& job);

// The job's extraction folder, <temp>\VlmQuorvinRepair_<pid>_<ticks>; not created here.
[[nodiscard]] std::filesystem::path MakeExtractFolderPath();
