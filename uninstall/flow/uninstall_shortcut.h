#pragma once

#include <filesystem>
#include <string>

#include "profile/package_profile.h"

// The desktop shortcut's file name as the uninstaller removes it: named after `shortcutName`, or
// `downloaderName` when that is blank, or "Velmora", as one file-name component ending in ".lnk".
[[nodiscard]] std::wstring UninstallShortcutName(const PackageProfile& profile);

// The shortcut on the user's Desktop, whether or not it exists; empty when the Desktop folder is
// unknown.
[[nodiscard]] std::filesystem::path UninstallShortcutPath(const PackageProfile& profile);
