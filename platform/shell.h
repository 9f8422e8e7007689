#pragma once

#include <filesystem>
#include <string>

namespace platform {

// The current user's Desktop folder; false when the system cannot say.
[[nodiscard]] bool DesktopFolder(std::filesystem::path& folder);

enum class ShellLinkResult { Saved, NoLinkObject, NotSaved };

// Writes a shell link (.lnk) at `link` to `target`, replacing one that is there.
[[nodiscard]] ShellLinkResult SaveShellLink(const std::filesystem::path& link,
                                            const std::filesystem::path& target,
                                            const std::filesystem::path& workingFolder,
                                            const std::wstring& description);

// Hands `file` (a program or a URL) to the shell's "open"; nothing is reported back. `folder`
// may be empty.
void ShellOpen(void* ownerWindow, const std::wstring& file, const std::filesystem::path& folder);

}  // namespace platform
