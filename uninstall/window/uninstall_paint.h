#pragma once

#include "ui/gdiplus_include.h"

#include <cstdint>
#include <string>

#include "profile/fallbacks.h"
#include "ui/owner_button.h"

namespace uninstall {

inline constexpr int kUninstallWidth = 680;
inline constexpr int kUninstallHeight = 420;

// Everything one paint of the uninstaller's window reads.
struct UninstallView {
  Gdiplus::Bitmap* background = nullptr;  // may be absent
  std::uint32_t accent = profile::kDefaultAccentColor;
  std::wstring downloaderName;
  std::wstring ownFolder;
  std::wstring statusText;
};

// Draws the whole client area onto `graphics` (any 680 x 420 surface).
void RenderUninstallWindow(Gdiplus::Graphics& graphics, const UninstallView& view);

// Paints one of the uninstaller's buttons: fixed colours by id (the main button keeps its orange
// whatever the accent), one pressed colour for all, and no look of its own when disabled.
void PaintUninstallButton(Gdiplus::Graphics& graphics, const ui::OwnerButton& button);

// The WM_DRAWITEM handler.
void DrawUninstallButton(const DRAWITEMSTRUCT& item, std::uint32_t accent);

}  // namespace uninstall
