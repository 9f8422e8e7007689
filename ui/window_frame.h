#pragma once

#include "ui/gdiplus_include.h"

#include <cstdint>
#include <functional>
#include <string>

namespace ui {

// The background both programs paint: the image scaled to cover the whole `width` x `height`,
// centred, under a dark veil; a plain dark fill without an image. An image of zero size leaves
// the surface as it is.
void DrawCoverBackground(Gdiplus::Graphics& graphics, Gdiplus::Bitmap* image, int width,
                         int height);

// The 48 px title band across `width`: its fill, the accent rule on its last row, and `text` in
// 13 px Segoe UI from (`textX`, 16), unclipped.
void DrawTitleBand(Gdiplus::Graphics& graphics, const std::wstring& text, float textX, int width,
                   std::uint32_t accent);

// Whether `image` can be drawn at all.
[[nodiscard]] bool HasSize(Gdiplus::Bitmap* image);

// A WM_PAINT handler: `render` draws into an off-screen 32 bpp bitmap of `width` x `height`,
// which then reaches the window in one copy, so nothing flickers.
void PaintBuffered(HWND window, int width, int height,
                   const std::function<void(Gdiplus::Graphics&)>& render);

}  // namespace ui
