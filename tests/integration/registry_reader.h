#pragma once

#include <optional>
#include <string>

namespace test {

// A string value of HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\<key>, as the job
// left it: the real registry on Windows, the recorder on the host.
std::optional<std::wstring> UninstallEntryString(const std::wstring& key, const std::wstring& name);

// Removes the entry so that runs do not see each other's values.
void RemoveUninstallEntry(const std::wstring& key);

}  // namespace test
