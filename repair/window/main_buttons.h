#pragma once

#include "ui/gdiplus_include.h"

#include <cstdint>

#include "ui/owner_button.h"

namespace repair {

// Paints `button` with the repair tool's look: filled push buttons by id and state, and the two
// server choice buttons as check boxes.
void PaintMainButton(Gdiplus::Graphics& graphics, const ui::OwnerButton& button);

// The WM_DRAWITEM handler of the main window's buttons.
void DrawMainButton(const DRAWITEMSTRUCT& item, std::uint32_t accent, bool primaryServerSelected);

}  // namespace repair
