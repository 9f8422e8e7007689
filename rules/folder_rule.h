#pragma once

#include <filesystem>

// A path made absolute, links resolved, "." and ".." removed, existing elements as the
// filesystem spells them; a tail that does not exist is appended as written. Empty on failure.
[[nodiscard]] std::filesystem::path CanonicalPath(const std::filesystem::path& path);

// The canonical form of `folder` when a tool may remove everything in it, empty when not: it
// must resolve, must not be a drive root, must have at least 6 characters and must be none of the
// user's or the system's own folders. Both programs that empty a folder ask this first; each adds
// its own test that the folder is really its game folder.
[[nodiscard]] std::filesystem::path RemovableFolder(const std::filesystem::path& folder);
