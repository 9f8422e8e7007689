#pragma once

// The uninstaller's buttons.
inline constexpr int kUninstallButton = 3001;  // later "Retry"
inline constexpr int kCancelButton = 3002;     // later "Close"
inline constexpr int kMinimiseButton = 3003;
inline constexpr int kCloseButton = 3004;
