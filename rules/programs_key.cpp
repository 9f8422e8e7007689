#include "rules/programs_key.h"

#include "profile/file_name.h"
#include "profile/trim.h"

namespace rules {

std::wstring ProgramsEntryDisplayName(const profile::PackageProfile& profile) {
  return profile::FirstNotBlank(
      {&profile.programsDisplayName, &profile.shortcutName, &profile.downloaderName},
      profile::kFallbackGameName);
}

std::wstring ProgramsKeyName(const profile::PackageProfile& profile) {
  return L"Parcelwright." +
         profile::SanitizeFileName(ProgramsEntryDisplayName(profile), profile::kFallbackGameName);
}

std::wstring ProgramsKeyPath(const profile::PackageProfile& profile) {
  return L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + ProgramsKeyName(profile);
}

}  // namespace rules
