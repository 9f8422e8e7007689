#include "rules/programs_key.h"

#include "profile/file_name.h"
#include "profile/trim.h"

std::wstring ProgramsEntryDisplayName(const PackageProfile& profile) {
  return FirstNotBlank(
      {&profile.programsDisplayName, &profile.shortcutName, &profile.downloaderName},
      kFallbackGameName);
}

std::wstring ProgramsKeyName(const PackageProfile& profile) {
  return L"Parcelwright." + SanitizeFileName(ProgramsEntryDisplayName(profile), kFallbackGameName);
}

std::wstring ProgramsKeyPath(const PackageProfile& profile) {
  return L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + ProgramsKeyName(profile);
}
