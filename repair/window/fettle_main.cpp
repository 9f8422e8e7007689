#include <windows.h>

#include "profile/package_profile.h"

namespace {

// Loaded once while the program starts, read-only afterwards.
PackageProfile g_profile;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // A missing profile leaves the built-in defaults, which is what the program then runs with.
  (void)LoadPackageProfile({}, g_profile);
  return 0;
}
