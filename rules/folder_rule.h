#pragma once

#include <filesystem>

namespace rules {

// A path made absolute, links resolved, "." and ".." removed, existing elements as the
// filesystem spells them; a tail that does not exist is appended as written. Empty on failure.
[[nodiscard]] std::filesystem::path CanonicalPath(const std::filesystem::path& path);

// The canonical form of `folder` when a tool may remove everything in it, empty when not: it
// must resolve; neither as held nor in canonical form may it be a drive or network share root,
// sit directly under the Users folder (another user's profile), or be or contain one of the
// user's or the system's own folders (platform::ProtectedFolders); its canonical form must have
// at least 6 characters. A game folder inside one of those folders stays allowed. Both programs
// that empty a folder ask this first; each adds its own test that the folder is really its game
// folder.
[[nodiscard]] std::filesystem::path RemovableFolder(const std::filesystem::path& folder);

// Whether the path text names a drive root (C:\, C:, \\?\C:\), a network share root
// (\\server\share, \\?\UNC\server\share) or the root of a Unix-like tree (/). Backslash
// and slash both count as separators.
[[nodiscard]] bool IsDriveOrShareRoot(const std::wstring& path);

// Whether `path` is `folder` or lies inside it, as held (made absolute) or in canonical form;
// letter case is not significant.
[[nodiscard]] bool LiesInside(const std::filesystem::path& path,
                              const std::filesystem::path& folder);

}  // namespace rules
