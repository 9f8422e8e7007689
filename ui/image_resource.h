#pragma once

#include "ui/gdiplus_include.h"

#include <memory>

namespace ui {

// An image the program carries as RCDATA `id` (PNG or JPEG), decoded by GDI+; null when the
// resource is missing, empty or not an image. `module` null is the running program.
[[nodiscard]] std::unique_ptr<Gdiplus::Bitmap> LoadImageResource(int id, HMODULE module = nullptr);

}  // namespace ui
