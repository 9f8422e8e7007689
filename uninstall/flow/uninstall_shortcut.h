#pragma once

#include <filesystem>
#include <string>

#include "profile/package_profile.h"

namespace uninstall {

// The shortcut on the user's Desktop, whether or not it exists; empty when the Desktop folder is
// unknown.
[[nodiscard]] std::filesystem::path UninstallShortcutPath(const profile::PackageProfile& profile);

}  // namespace uninstall
