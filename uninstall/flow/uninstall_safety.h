#pragma once

#include <filesystem>
#include <string>

namespace uninstall {

// The folder of the running module: its full path without the last element.
[[nodiscard]] std::filesystem::path OwnFolderOf(const std::wstring& modulePath);

// Whether `ownFolder` may be removed as a whole: a folder that a tool may empty (resolvable, not
// a drive root, at least 6 characters, none of the user's or the system's own folders) which
// holds a regular file Uninstall.exe.
[[nodiscard]] bool UninstallSafetyCheck(const std::filesystem::path& ownFolder);

}  // namespace uninstall
