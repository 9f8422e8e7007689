#pragma once

#include <string>

#include "profile/package_profile.h"

namespace uninstall {

// The PowerShell path of the Programs and Features key the repair tool wrote for this profile.
[[nodiscard]] std::wstring UninstallKeyPath(const profile::PackageProfile& profile);

// The cleanup script: a wait that outlasts the uninstaller, then the removal of the shortcut
// (left out when `shortcut` is empty), the folder and the key, then a message box saying whether
// the folder is gone. Every path is a single-quoted literal. A NUL would end the command line
// inside a literal, so the key path is cut at its first NUL (where the registry cut the name when
// the repair tool wrote the key), and a shortcut path holding one is left out like a missing one.
[[nodiscard]] std::wstring UninstallScript(const std::wstring& folder, const std::wstring& shortcut,
                                           const std::wstring& keyPath);

// The hidden powershell.exe command line that runs `script`. Paths cannot hold a double quote and
// the key name has none, so the script needs no escaping for the command line.
[[nodiscard]] std::wstring UninstallCommandLine(const std::wstring& script);

}  // namespace uninstall
