#include "uninstall/flow/uninstall_shortcut.h"

#include "platform/shell.h"
#include "platform/text.h"
#include "profile/file_name.h"
#include "profile/trim.h"

std::wstring UninstallShortcutName(const PackageProfile& profile) {
  std::wstring base = TrimWhitespace(profile.shortcutName);
  if (base.empty()) base = TrimWhitespace(profile.downloaderName);
  return LinkFileName(base, L"Velmora");
}

std::filesystem::path UninstallShortcutPath(const PackageProfile& profile) {
  std::filesystem::path desktop;
  if (!platform::DesktopFolder(desktop) || desktop.empty()) return {};
  return desktop / platform::WideToPath(UninstallShortcutName(profile));
}
