#include "repair/system/shortcut.h"

#include "platform/shell.h"
#include "platform/text.h"
#include "repair/system/programs_entry.h"
#include "rules/shortcut_name.h"

namespace repair {

namespace fs = std::filesystem;

bool CreateDesktopShortcut(const Job& job, std::wstring& message) {
  const fs::path target = ResolveStartupExe(job);
  if (target.empty()) {
    message = L"No startup EXE is configured for the shortcut.";
    return false;
  }
  std::error_code error;
  if (!fs::is_regular_file(target, error)) {
    message = L"Could not find the shortcut target: " + platform::PathToWide(target);
    return false;
  }
  fs::path desktop;
  if (!platform::DesktopFolder(desktop)) {
    message = L"Could not locate the Desktop folder.";
    return false;
  }
  const fs::path link = desktop / platform::WideToPath(rules::ShortcutFileName(job.profile));
  switch (platform::SaveShellLink(link, target, target.parent_path(),
                                  job.profile.downloaderName + L" launcher")) {
    case platform::ShellLinkResult::NoLinkObject:
      message = L"Could not create the Windows shortcut object.";
      return false;
    case platform::ShellLinkResult::NotSaved:
      message = L"Could not save the shortcut to your Desktop.";
      return false;
    case platform::ShellLinkResult::Saved: break;
  }
  message = L"Game desktop shortcut created.";
  return true;
}

void LaunchStartupExe(const Job& job, void* ownerWindow) {
  const fs::path target = ResolveStartupExe(job);
  std::error_code error;
  if (target.empty() || !fs::is_regular_file(target, error)) return;
  platform::ShellOpen(ownerWindow, platform::PathToWide(target), target.parent_path());
}

void OpenConfiguredLink(const std::wstring& value, void* ownerWindow) {
  if (value.empty()) return;
  platform::ShellOpen(ownerWindow, value, {});
}

}  // namespace repair
