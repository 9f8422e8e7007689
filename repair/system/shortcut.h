#pragma once

#include <string>

#include "repair/core/job.h"

namespace repair {

// Puts a shortcut to the startup program on the user's Desktop. `message` says what happened,
// for the status line on success or a warning box on failure.
[[nodiscard]] bool CreateDesktopShortcut(const Job& job, std::wstring& message);

// Starts the game's startup program from its own folder; silent when it is missing.
void LaunchStartupExe(const Job& job, void* ownerWindow);

// Opens a configured web link (website, Discord) with the user's default handler.
void OpenConfiguredLink(const std::wstring& value, void* ownerWindow);

}  // namespace repair
