#include "uninstall/flow/start_uninstall.h"

#include "platform/environment.h"
#include "platform/text.h"
#include "uninstall/flow/uninstall_safety.h"
#include "uninstall/flow/uninstall_script.h"
#include "uninstall/flow/uninstall_shortcut.h"

namespace uninstall {

bool StartUninstall(Uninstaller& uninstaller) {
  if (!UninstallSafetyCheck(uninstaller.ownFolder)) {
    uninstaller.statusText =
        L"Safety check failed. This uninstaller can only remove its own game folder.";
    return false;
  }
  const std::wstring temp = platform::TempFolder();
  const std::wstring script =
      UninstallScript(platform::PathToWide(uninstaller.ownFolder),
                      platform::PathToWide(UninstallShortcutPath(uninstaller.profile)),
                      UninstallKeyPath(uninstaller.profile));
  auto helper = std::make_unique<platform::ChildProcess>();
  // Without a temporary folder the helper would inherit a working folder that may be the very
  // folder it is to remove.
  const std::wstring powershell =
      platform::SystemProgram(L"WindowsPowerShell\\v1.0\\powershell.exe");
  if (temp.empty() || !helper->Start(platform::WideToPath(powershell), UninstallCommandLine(script),
                                     platform::WideToPath(temp))) {
    uninstaller.statusText = L"Could not start the uninstall helper.";
    return false;
  }
  uninstaller.helper = std::move(helper);
  return true;
}

}  // namespace uninstall
