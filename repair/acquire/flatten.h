#pragma once

#include <filesystem>
#include <system_error>

#include "repair/core/job.h"

namespace repair {

// When the extraction folder holds exactly one entry and it is a folder, moves that folder's
// entries up one level and removes it. True when there was nothing to do or it worked; false
// after FailJob.
[[nodiscard]] bool FlattenSingleTopFolder(Job& job, const std::filesystem::path& folder);

// Moves `source` into `destination` under its own name, replacing what stands there: by rename,
// or by copy and removal. On false `error` holds the failing step's error.
[[nodiscard]] bool MoveEntryInto(const std::filesystem::path& source,
                                 const std::filesystem::path& destination, std::error_code& error);

}  // namespace repair
