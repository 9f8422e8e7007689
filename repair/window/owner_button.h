#pragma once

#include "repair/window/gdiplus_include.h"

#include <cstdint>
#include <string>

// One owner-drawn button as it is to be painted.
struct OwnerButton {
  int id = 0;
  Gdiplus::Rect rect;  // the item rectangle
  std::wstring caption;
  bool disabled = false;
  bool pressed = false;
  bool checked = false;  // server choice buttons only
  std::uint32_t accent = 0xFFFFA640;
};

// Paints `button` with the repair tool's look: filled push buttons by id and state, and the two
// server choice buttons as check boxes.
void PaintOwnerButton(Gdiplus::Graphics& graphics, const OwnerButton& button);

// The WM_DRAWITEM handler: reads the record and the button's caption, then paints.
void DrawOwnerButton(const DRAWITEMSTRUCT& item, std::uint32_t accent, bool primaryServerSelected);
