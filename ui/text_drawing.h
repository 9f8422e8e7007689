#pragma once

#include <cstdint>
#include <string>

#include "ui/gdiplus_include.h"

namespace ui {

// How a text sits in its rectangle. Without `verticallyCentred` it starts at the top.
struct TextPlacement {
  Gdiplus::StringAlignment horizontal = Gdiplus::StringAlignmentCenter;
  bool verticallyCentred = false;
  bool ellipsis = true;  // trimmed at a word boundary with an ellipsis
};

// Draws `text` in Segoe UI of `size` pixels and `style`, in one colour; every drawing object
// lives for this call only.
void DrawTextIn(Gdiplus::Graphics& graphics, const std::wstring& text, float size, int style,
                std::uint32_t colour, const Gdiplus::RectF& rect, TextPlacement placement = {});

}  // namespace ui
