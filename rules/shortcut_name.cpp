#include "rules/shortcut_name.h"

#include "profile/fallbacks.h"
#include "profile/file_name.h"
#include "profile/trim.h"

namespace rules {

std::wstring ShortcutFileName(const profile::PackageProfile& profile) {
  return profile::LinkFileName(profile.shortcutName, profile::kFallbackGameName);
}

std::wstring UninstallShortcutName(const profile::PackageProfile& profile) {
  return profile::LinkFileName(
      profile::FirstNotBlank({&profile.shortcutName, &profile.downloaderName}, L""),
      profile::kFallbackGameName);
}

}  // namespace rules
