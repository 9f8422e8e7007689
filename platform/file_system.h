#pragma once

#include <filesystem>
#include <system_error>

namespace platform {

// Copies `from` over `to`, replacing a file that stands there, with the system's own copy.
[[nodiscard]] bool CopyFileReplacing(const std::filesystem::path& from,
                                     const std::filesystem::path& to, std::error_code& error);

// The full path of an existing file or folder with links resolved and every element spelled as
// the filesystem stores it. False when it does not exist or cannot be opened.
[[nodiscard]] bool ResolveExistingPath(const std::filesystem::path& path,
                                       std::filesystem::path& resolved);

}  // namespace platform
