#include "ui/text_drawing.h"

namespace ui {

void DrawTextIn(Gdiplus::Graphics& graphics, const std::wstring& text, float size, int style,
                std::uint32_t colour, const Gdiplus::RectF& rect, TextPlacement placement) {
  Gdiplus::FontFamily family(L"Segoe UI");
  Gdiplus::Font font(&family, size, style, Gdiplus::UnitPixel);
  Gdiplus::StringFormat format;
  format.SetAlignment(placement.horizontal);
  if (placement.verticallyCentred) format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  if (placement.ellipsis) format.SetTrimming(Gdiplus::StringTrimmingEllipsisWord);
  Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
  graphics.DrawString(text.c_str(), -1, &font, rect, &format, &brush);
}

}  // namespace ui
