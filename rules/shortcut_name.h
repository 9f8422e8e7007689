#pragma once

#include <string>

#include "profile/package_profile.h"

namespace rules {

// The desktop shortcut's file name as the repair tool creates it: `shortcutName` made one
// file-name component (fallback "Velmora"), with ".lnk" appended unless it already ends so in any
// letter case.
[[nodiscard]] std::wstring ShortcutFileName(const profile::PackageProfile& profile);

// The desktop shortcut's file name as the uninstaller removes it: named after `shortcutName`, or
// `downloaderName` when that is blank, or "Velmora", as one file-name component ending in ".lnk".
[[nodiscard]] std::wstring UninstallShortcutName(const profile::PackageProfile& profile);

}  // namespace rules
