// The uninstaller's cleanup: powershell.exe gets the whole script as one argument by the C
// runtime's rules, and every path in it (folder, shortcut, Programs and Features key) reads back
// unchanged by PowerShell's single-quote rules; a NUL from the profile cuts the key path and
// leaves the shortcut out.
// Input: folder LF Desktop folder LF profile text. The folder and the Desktop are made into
// paths Windows allows; the shortcut's name and the key come from the profile as the
// uninstaller makes them.
#include <cstddef>
#include <cstdint>

#include "profile/package_profile.h"
#include "rules/shortcut_name.h"
#include "tests/fuzz/crt_command_line.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/layers.h"
#include "uninstall/flow/uninstall_script.h"
#include "uninstall/flow/uninstall_shortcut.h"

namespace {

const std::wstring kFolder = L"<folder>";
const std::wstring kShortcut = L"<shortcut>";
const std::wstring kKey = L"<key>";
const std::wstring kScript = L"<script>";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::CheckCrtSplitterOnKnownAnswers();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto fields = fuzz::Fields(fuzz::AsText(data, size), 3);
  const std::wstring folder = fuzz::WindowsPath(fields[0]);
  const std::wstring desktop = fuzz::WindowsPath(fields[1]);
  const PackageProfile profile = ParsePackageProfile(fields[2]);

  std::wstring shortcut;
  if (!desktop.empty()) {
    const bool separated = desktop.back() == L'\\' || desktop.back() == L'/';
    shortcut = desktop + (separated ? L"" : L"\\") + UninstallShortcutName(profile);
  }
  const std::wstring key = UninstallKeyPath(profile);

  const std::wstring script = UninstallScript(folder, shortcut, key);
  const bool removesShortcut = !shortcut.empty() && shortcut.find(L'\0') == std::wstring::npos;
  const std::wstring meant = UninstallScript(kFolder, removesShortcut ? kShortcut : L"", kKey);
  fuzz::ExpectScript(
      "every path in the cleanup script reads back unchanged", script, meant,
      {{kFolder, folder}, {kShortcut, shortcut}, {kKey, key.substr(0, key.find(L'\0'))}});

  fuzz::ExpectArguments("powershell.exe gets the whole cleanup script as one argument",
                        fuzz::SplitCrtCommandLine(UninstallCommandLine(script)),
                        fuzz::SplitCrtCommandLine(UninstallCommandLine(kScript)),
                        {{kScript, script}});
  return 0;
}
