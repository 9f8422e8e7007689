#include "uninstall/flow/uninstall_shortcut.h"

#include "platform/shell.h"
#include "platform/text.h"
#include "rules/shortcut_name.h"

namespace uninstall {

std::filesystem::path UninstallShortcutPath(const profile::PackageProfile& profile) {
  std::filesystem::path desktop;
  if (!platform::DesktopFolder(desktop) || desktop.empty()) return {};
  return desktop / platform::WideToPath(rules::UninstallShortcutName(profile));
}

}  // namespace uninstall
