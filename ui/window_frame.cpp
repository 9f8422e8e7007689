#include "ui/window_frame.h"

#include <algorithm>

namespace ui {

namespace {

using Gdiplus::Color;

constexpr std::uint32_t kBackground = 0xFF0A0B0C;
constexpr std::uint32_t kVeil = 0xCD0A0B0C;
constexpr std::uint32_t kTitleBar = 0xFF0C0D0E;
constexpr std::uint32_t kTitleText = 0xFFBAB9BE;

}  // namespace

bool HasSize(Gdiplus::Bitmap* image) {
  return image && image->GetWidth() > 0 && image->GetHeight() > 0;
}

void DrawCoverBackground(Gdiplus::Graphics& g, Gdiplus::Bitmap* image, int width, int height) {
  if (!image) {
    Gdiplus::SolidBrush fill{Color(kBackground)};
    g.FillRectangle(&fill, 0, 0, width, height);
    return;
  }
  if (!HasSize(image)) return;
  const double imageWidth = image->GetWidth();
  const double imageHeight = image->GetHeight();
  const double scale = std::max(height / imageHeight, width / imageWidth);
  const int scaledWidth = static_cast<int>(imageWidth * scale);
  const int scaledHeight = static_cast<int>(imageHeight * scale);
  g.DrawImage(image, (width - scaledWidth) / 2, (height - scaledHeight) / 2, scaledWidth,
              scaledHeight);
  Gdiplus::SolidBrush veil{Color(kVeil)};
  g.FillRectangle(&veil, 0, 0, width, height);
}

void DrawTitleBand(Gdiplus::Graphics& g, const std::wstring& text, float textX, int width,
                   std::uint32_t accent) {
  Gdiplus::SolidBrush bar{Color(kTitleBar)};
  g.FillRectangle(&bar, 0, 0, width, 48);
  Gdiplus::Pen rule(Color(accent), 1.0f);
  g.DrawLine(&rule, 0, 47, width, 47);
  Gdiplus::FontFamily family(L"Segoe UI");
  Gdiplus::Font font(&family, 13.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
  Gdiplus::SolidBrush brush{Color(kTitleText)};
  g.DrawString(text.c_str(), -1, &font, Gdiplus::PointF(textX, 16), &brush);
}

void PaintBuffered(HWND window, int width, int height,
                   const std::function<void(Gdiplus::Graphics&)>& render) {
  // EndPaint runs even when `render` breaks off, so the window never keeps asking to be painted.
  struct PaintScope {
    HWND window;
    PAINTSTRUCT paint = {};
    HDC dc = BeginPaint(window, &paint);
    ~PaintScope() { EndPaint(window, &paint); }
  } scope{window};
  Gdiplus::Bitmap frame(width, height, PixelFormat32bppARGB);
  {
    Gdiplus::Graphics offscreen(&frame);
    render(offscreen);
  }
  Gdiplus::Graphics screen(scope.dc);
  screen.DrawImage(&frame, 0, 0, width, height);
}

}  // namespace ui
