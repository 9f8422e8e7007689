#pragma once

#include "ui/gdiplus_include.h"

#include <cstdint>
#include <string>

#include "profile/fallbacks.h"

namespace ui {

// One owner-drawn button as it is to be painted.
struct OwnerButton {
  int id = 0;
  Gdiplus::Rect rect;  // the item rectangle
  std::wstring caption;
  bool disabled = false;
  bool pressed = false;
  bool checked = false;  // choice buttons only
  std::uint32_t accent = profile::kDefaultAccentColor;
};

struct ButtonLook {
  std::uint32_t fill;
  std::uint32_t text;
  std::uint32_t border;
};

// A push button's face: the fill, a 1.5 px outline 1 px inside the right and bottom edges, and
// the caption in bold Segoe UI of `captionSize` px, centred both ways, trimmed with an ellipsis
// when `trimCaption`. A fully transparent fill or border is not drawn.
void PaintButtonFace(Gdiplus::Graphics& graphics, const Gdiplus::Rect& rect, const ButtonLook& look,
                     const std::wstring& caption, float captionSize, bool trimCaption);

// The button a WM_DRAWITEM asks for: id, item rectangle, caption (at most `captionLimit`
// characters) and state; `checked` is the caller's to set.
[[nodiscard]] OwnerButton ReadOwnerButton(const DRAWITEMSTRUCT& item, std::uint32_t accent,
                                          int captionLimit);

}  // namespace ui
