#pragma once

#include <string>

#include "profile/fallbacks.h"
#include "profile/package_profile.h"

namespace rules {

// The Programs and Features display name: `programsDisplayName`, `shortcutName` or
// `downloaderName`, the first that is not blank, else "Velmora".
[[nodiscard]] std::wstring ProgramsEntryDisplayName(const profile::PackageProfile& profile);

// "Parcelwright." + the display name with \ / : * ? " < > | made underscores. The uninstaller
// deletes the key by the same rule, so both programs link this file.
[[nodiscard]] std::wstring ProgramsKeyName(const profile::PackageProfile& profile);

// The entry's key below HKEY_CURRENT_USER: the Uninstall key + ProgramsKeyName.
[[nodiscard]] std::wstring ProgramsKeyPath(const profile::PackageProfile& profile);

}  // namespace rules
