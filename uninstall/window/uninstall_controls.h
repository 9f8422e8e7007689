#pragma once

namespace uninstall {

// The uninstaller's buttons by control id.
enum class UninstallButtonId : int {
  Uninstall = 3001,  // later "Retry"
  Cancel = 3002,     // later "Close"
  Minimise = 3003,
  Close = 3004,
};

}  // namespace uninstall
