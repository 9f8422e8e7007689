#include "platform/resources.h"
#include "profile/package_profile.h"

namespace profile {

bool LoadPackageProfile(platform::ModuleRef module, PackageProfile& profile) {
  std::string bytes;
  if (!platform::ReadRcData(module, platform::kProfileResourceId, bytes) || bytes.empty()) {
    return false;
  }
  profile = ParsePackageProfile(bytes);
  return true;
}

}  // namespace profile
