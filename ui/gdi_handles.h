#pragma once

#include <windows.h>

#include "platform/win32/handles.h"

namespace ui {

// GDI objects (fonts, regions, brushes, bitmaps) are all released with DeleteObject.
template <typename Object>
struct GdiObjectTraits {
  using Handle = Object;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h) { DeleteObject(h); }
};

using UniqueFont = platform::win32::Owned<GdiObjectTraits<HFONT>>;
using UniqueRegion = platform::win32::Owned<GdiObjectTraits<HRGN>>;

}  // namespace ui
