#pragma once

#include <filesystem>

#include "repair/core/job.h"

namespace repair {

// The name of the job's temporary download file: <temp>\<repairToolName>_<pid>_<ticks>.zip (or
// .rar). Nothing is created here; the download creates it, under this name or a numbered one.
[[nodiscard]] std::filesystem::path MakeDownloadPath(const Job& job);

// The name of the job's extraction folder, <temp>\VlmQuorvinRepair_<pid>_<ticks>; not created
// here (the extraction creates it, under this name or a numbered one).
[[nodiscard]] std::filesystem::path MakeExtractFolderPath();

// How many names a temporary file or folder may try before its step gives up.
inline constexpr unsigned kTempNameTries = 100;

// The `attempt`th name for a temporary item: `name` itself for the first, then "_2", "_3", ...
// put before its extension (MyGame.exe_42_7_2.zip, VlmQuorvinRepair_42_7_3).
[[nodiscard]] std::filesystem::path NumberedTempName(const std::filesystem::path& name,
                                                     unsigned attempt);

}  // namespace repair
