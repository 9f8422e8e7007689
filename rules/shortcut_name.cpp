#include "rules/shortcut_name.h"

#include "profile/fallbacks.h"
#include "profile/file_name.h"
#include "profile/trim.h"

std::wstring ShortcutFileName(const PackageProfile& profile) {
  return LinkFileName(profile.shortcutName, kFallbackGameName);
}

std::wstring UninstallShortcutName(const PackageProfile& profile) {
  return LinkFileName(FirstNotBlank({&profile.shortcutName, &profile.downloaderName}, L""),
                      kFallbackGameName);
}
