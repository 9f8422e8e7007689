#pragma once

#include "ui/gdiplus_include.h"

#include <cstdint>
#include <string>

#include "profile/fallbacks.h"
#include "repair/core/repair_status.h"

namespace repair {

inline constexpr int kWindowWidth = 860;
inline constexpr int kWindowHeight = 560;

// Everything one paint of the main window reads; the status is a snapshot, never the record.
struct MainWindowView {
  Gdiplus::Bitmap* background = nullptr;  // may be absent
  Gdiplus::Bitmap* logo = nullptr;        // may be absent
  std::uint32_t accent = profile::kDefaultAccentColor;
  std::wstring title;  // `repairToolName`
  std::wstring clientFolder;
  StatusSnapshot status;
};

// Draws the whole client area onto `graphics` (any 860 x 560 surface).
void RenderMainWindow(Gdiplus::Graphics& graphics, const MainWindowView& view);

// The WM_PAINT handler: renders into an off-screen 32 bpp bitmap, then one copy to the window.
void PaintMainWindow(HWND window, const MainWindowView& view);

}  // namespace repair
