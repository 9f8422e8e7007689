#include "ui/owner_button.h"

#include "ui/text_drawing.h"

namespace ui {

void PaintButtonFace(Gdiplus::Graphics& g, const Gdiplus::Rect& rect, const ButtonLook& look,
                     const std::wstring& caption, float captionSize, bool trimCaption) {
  if (look.fill >> 24) {
    Gdiplus::SolidBrush fill{Gdiplus::Color(look.fill)};
    g.FillRectangle(&fill, rect);
  }
  if (look.border >> 24) {
    // The outline sits 1 px inside the right and bottom edges of the item.
    Gdiplus::Pen border(Gdiplus::Color(look.border), 1.5f);
    g.DrawRectangle(&border, Gdiplus::Rect(rect.X, rect.Y, rect.Width - 1, rect.Height - 1));
  }
  DrawTextIn(g, caption, captionSize, Gdiplus::FontStyleBold, look.text,
             Gdiplus::RectF(static_cast<float>(rect.X), static_cast<float>(rect.Y),
                            static_cast<float>(rect.Width), static_cast<float>(rect.Height)),
             {Gdiplus::StringAlignmentCenter, true, trimCaption});
}

OwnerButton ReadOwnerButton(const DRAWITEMSTRUCT& item, std::uint32_t accent, int captionLimit) {
  OwnerButton button;
  button.id = static_cast<int>(item.CtlID);
  button.rect =
      Gdiplus::Rect(item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
                    item.rcItem.bottom - item.rcItem.top);
  std::wstring caption(static_cast<std::size_t>(captionLimit) + 1, L'\0');
  caption.resize(
      static_cast<std::size_t>(GetWindowTextW(item.hwndItem, caption.data(), captionLimit + 1)));
  button.caption = std::move(caption);
  button.disabled = (item.itemState & ODS_DISABLED) != 0;
  button.pressed = (item.itemState & ODS_SELECTED) != 0;
  button.accent = accent;
  return button;
}

}  // namespace ui
