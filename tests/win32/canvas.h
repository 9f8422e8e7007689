#pragma once

#include "ui/gdiplus_include.h"

#include <cstdint>

namespace test {

// A painted surface whose pixels the tests read.
class Canvas {
 public:
  Canvas(int width, int height) : bitmap_(width, height, PixelFormat32bppARGB) {}
  Gdiplus::Graphics Graphics() { return Gdiplus::Graphics(&bitmap_); }
  std::uint32_t At(int x, int y) {
    Gdiplus::Color colour;
    bitmap_.GetPixel(x, y, &colour);
    return colour.GetValue();
  }
  // Whether some pixel of the rectangle has exactly this colour (a glyph's stem, say).
  bool Contains(int x, int y, int width, int height, std::uint32_t colour) {
    for (int j = y; j < y + height; ++j) {
      for (int i = x; i < x + width; ++i) {
        if (At(i, j) == colour) return true;
      }
    }
    return false;
  }
  Gdiplus::Bitmap* bitmap() { return &bitmap_; }

 private:
  Gdiplus::Bitmap bitmap_;
};

}  // namespace test
