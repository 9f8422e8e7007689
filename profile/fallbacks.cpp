#include "profile/fallbacks.h"

#include "profile/trim.h"

namespace profile {

void ApplyRepairToolFallbacks(PackageProfile& profile) {
  if (profile.startupExe.empty()) profile.startupExe = kFallbackStartupExe;
  if (profile.repairToolName.empty()) profile.repairToolName = kFallbackRepairToolName;
}

std::wstring ChooseJobUrl(std::wstring_view requested, const PackageProfile& profile) {
  std::wstring url = TrimWhitespace(requested);
  return url.empty() ? profile.archiveUrl : url;
}

}  // namespace profile
