#pragma once

#include <filesystem>
#include <system_error>

namespace platform {

// Removes a file, or a folder with everything in it, read-only entries included, however long
// the paths inside. A link (symbolic link or junction) is removed itself and never followed, so
// nothing outside the tree is touched. Goes on past entries it cannot remove; false with the
// first error in `error` when anything is left.
[[nodiscard]] bool RemoveFileTree(const std::filesystem::path& path, std::error_code& error);

}  // namespace platform
