#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/process.h"
#include "profile/package_profile.h"

namespace uninstall {

inline constexpr wchar_t kReadyToUninstall[] = L"Ready to uninstall.";

// What the uninstaller knows and holds; owned by its window thread.
struct Uninstaller {
  profile::PackageProfile profile;
  // The folder the uninstaller sits in, as the system named the running module.
  std::filesystem::path ownFolder;
  std::wstring statusText = kReadyToUninstall;
  // The started cleanup helper; at most one is held, and it outlives the uninstaller.
  std::unique_ptr<platform::ChildProcess> helper;
};

}  // namespace uninstall
