#pragma once

#include <array>

#include "profile/package_profile.h"

// The repair tool's buttons by control id, in creation order.
enum ButtonId : int {
  kRepairButton = 4001,
  kReinstallButton = 4002,
  kShortcutButton = 4003,
  kRunPatcherButton = 4004,
  kWebsiteButton = 4005,
  kDiscordButton = 4006,
  kMinimiseButton = 4007,
  kCloseTitleButton = 4008,
  kRetryButton = 4009,
  kCloseButton = 4010,
  kPrimaryServerButton = 4011,
  kMirrorServerButton = 4012,
};

struct ButtonLabel {
  int id;
  const wchar_t* text;
};

inline constexpr std::array<ButtonLabel, 12> kButtons = {{
    {kRepairButton, L"Repair Client"},
    {kPrimaryServerButton, L"Repair game on Asia Download Server"},
    {kMirrorServerButton, L"Repair game on EU Download Server"},
    {kReinstallButton, L"Reinstall Game"},
    {kShortcutButton, L"Create Game Shortcut"},
    {kRunPatcherButton, L"Run Patcher"},
    {kWebsiteButton, L"Website"},
    {kDiscordButton, L"Discord"},
    {kRetryButton, L"Retry"},
    {kCloseButton, L"Close"},
    {kMinimiseButton, L"-"},
    {kCloseTitleButton, L"x"},
}};

struct ButtonRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool placed = false;  // a button that is not placed stays hidden in this layout
};

// Two download servers are offered when `multiRepairTool` is on and a mirror is configured.
[[nodiscard]] bool IsMultiServerMode(const PackageProfile& profile);

// Where `id` sits in the window for the layout the profile asks for.
[[nodiscard]] ButtonRect ButtonPlacement(int id, bool multiServer);

// Whether `id` is shown; `failed` is the failed state (finished and failed).
[[nodiscard]] bool IsButtonShown(int id, const PackageProfile& profile, bool failed);
