#pragma once

#include "uninstall/flow/uninstaller.h"

namespace uninstall {

// Checks that the own folder is really this game's folder, then starts the hidden cleanup script
// from the temporary folder. False, with the reason in `statusText`, when nothing was started.
// The uninstaller itself never removes anything.
[[nodiscard]] bool StartUninstall(Uninstaller& uninstaller);

}  // namespace uninstall
