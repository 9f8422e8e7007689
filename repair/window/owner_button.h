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

struct ButtonLook {
  std::uint32_t fill;
  std::uint32_t text;
  std::uint32_t border;
};

// A push button's face: the fill, a 1.5 px outline 1 px inside the right and bottom edges, and
// the caption in bold Segoe UI of `captionSize` px, centred both ways. A fully transparent fill
// or border is not drawn.
void PaintButtonFace(Gdiplus::Graphics& graphics, const Gdiplus::Rect& rect, const ButtonLook& look,
                     const std::wstring& caption, float captionSize);

// The item rectangle of a WM_DRAWITEM.
[[nodiscard]] Gdiplus::Rect ItemRect(const DRAWITEMSTRUCT& item);

// Paints `button` with the repair tool's look: filled push buttons by id and state, and the two
// server choice buttons as check boxes.
void PaintOwnerButton(Gdiplus::Graphics& graphics, const OwnerButton& button);

// The WM_DRAWITEM handler: reads the record and the button's caption, then paints.
void DrawOwnerButton(const DRAWITEMSTRUCT& item, std::uint32_t accent, bool primaryServerSelected);
