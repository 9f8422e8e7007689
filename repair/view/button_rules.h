#pragma once

#include <array>

#include "profile/package_profile.h"

namespace repair {

// The repair tool's buttons by control id.
enum class ButtonId : int {
  Repair = 4001,
  Reinstall = 4002,
  Shortcut = 4003,
  RunPatcher = 4004,
  Website = 4005,
  Discord = 4006,
  Minimise = 4007,
  CloseTitle = 4008,
  Retry = 4009,
  Close = 4010,
  PrimaryServer = 4011,
  MirrorServer = 4012,
};

// In creation order.
struct ButtonLabel {
  ButtonId id;
  const wchar_t* text;
};

inline constexpr std::array<ButtonLabel, 12> kButtons = {{
    {ButtonId::Repair, L"Repair Client"},
    {ButtonId::PrimaryServer, L"Repair game on Asia Download Server"},
    {ButtonId::MirrorServer, L"Repair game on EU Download Server"},
    {ButtonId::Reinstall, L"Reinstall Game"},
    {ButtonId::Shortcut, L"Create Game Shortcut"},
    {ButtonId::RunPatcher, L"Run Patcher"},
    {ButtonId::Website, L"Website"},
    {ButtonId::Discord, L"Discord"},
    {ButtonId::Retry, L"Retry"},
    {ButtonId::Close, L"Close"},
    {ButtonId::Minimise, L"-"},
    {ButtonId::CloseTitle, L"x"},
}};

struct ButtonRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool placed = false;  // a button that is not placed stays hidden in this layout
};

// Two download servers are offered when `multiRepairTool` is on and a mirror is configured.
[[nodiscard]] bool IsMultiServerMode(const profile::PackageProfile& profile);

// Where `id` sits in the window for the layout the profile asks for.
[[nodiscard]] ButtonRect ButtonPlacement(ButtonId id, bool multiServer);

// Whether `id` is shown; `failed` is the failed state (finished and failed).
[[nodiscard]] bool IsButtonShown(ButtonId id, const profile::PackageProfile& profile, bool failed);

}  // namespace repair
