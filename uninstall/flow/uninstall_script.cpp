#include "uninstall/flow/uninstall_script.h"

#include "rules/powershell_quote.h"
#include "rules/programs_key.h"

namespace uninstall {

std::wstring UninstallKeyPath(const profile::PackageProfile& profile) {
  return L"Registry::HKEY_CURRENT_USER\\" + rules::ProgramsKeyPath(profile);
}

std::wstring UninstallScript(const std::wstring& folder, const std::wstring& shortcut,
                             const std::wstring& keyPath) {
  const std::wstring quotedFolder = rules::QuotePowerShellLiteral(folder);
  const std::wstring key = keyPath.substr(0, keyPath.find(L'\0'));
  // Cutting the shortcut path instead could name another file, or the Desktop itself.
  const bool removeShortcut = !shortcut.empty() && shortcut.find(L'\0') == std::wstring::npos;
  std::wstring script =
      L"$ErrorActionPreference='SilentlyContinue'; Start-Sleep -Milliseconds 1200; ";
  if (removeShortcut) {
    script += L"Remove-Item -LiteralPath " + rules::QuotePowerShellLiteral(shortcut) +
              L" -Force -ErrorAction SilentlyContinue; ";
  }
  script += L"Remove-Item -LiteralPath " + quotedFolder +
            L" -Recurse -Force -ErrorAction SilentlyContinue; ";
  script += L"Remove-Item -LiteralPath " + rules::QuotePowerShellLiteral(key) +
            L" -Recurse -Force -ErrorAction SilentlyContinue; ";
  script += L"Add-Type -AssemblyName PresentationFramework; ";
  script += L"if (Test-Path -LiteralPath " + quotedFolder + L") { ";
  script +=
      L"[System.Windows.MessageBox]::Show('Some game client files could not be removed. Please "
      L"close the game and patcher, then try again.', 'Uninstall Failed', 'OK', 'Warning') | "
      L"Out-Null ";
  script += L"} else { ";
  script +=
      L"[System.Windows.MessageBox]::Show('The game client and folder have been removed from this "
      L"PC.', 'Uninstall Complete', 'OK', 'Information') | Out-Null ";
  script += L"}";
  return script;
}

std::wstring UninstallCommandLine(const std::wstring& script) {
  return L"powershell.exe -NoProfile -ExecutionPolicy Bypass -WindowStyle Hidden -Command \"" +
         script + L"\"";
}

}  // namespace uninstall
