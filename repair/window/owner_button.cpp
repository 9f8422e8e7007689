#include "repair/window/owner_button.h"

#include "repair/window/text_drawing.h"

namespace {

using Gdiplus::Color;

constexpr std::uint32_t kDarkFill = 0xFF18191E;
constexpr std::uint32_t kQuietFill = 0xFF111215;
constexpr std::uint32_t kLightText = 0xFFF5F5F8;
constexpr std::uint32_t kDarkText = 0xFF0A0A0C;
constexpr std::uint32_t kGreyBorder = 0xFF5C5766;
constexpr std::uint32_t kDisabledText = 0xFF66636E;
constexpr std::uint32_t kUncheckedBox = 0xFF0B0C0F;

bool IsQuietButton(int id) {
  return id >= 4005 && id <= 4008;
}

ButtonLook PushButtonLook(const OwnerButton& b) {
  ButtonLook look{kDarkFill, kLightText, kGreyBorder};
  if (b.id == 4001) {
    look = {b.accent, kDarkText, b.accent};
  } else if (b.id == 4002 || b.id == 4009 || b.id == 4010) {
    look = {kDarkFill, b.accent, b.accent};
  } else if (IsQuietButton(b.id)) {
    look = {kQuietFill, b.accent, 0xFF2D2B32};
  }
  if (b.disabled) {
    look.text = kDisabledText;
    look.border = 0xFF323037;
    if (b.id == 4001) look.fill = 0xFF504637;
  } else if (b.pressed) {
    look.fill = IsQuietButton(b.id) ? 0xFF1F2025 : 0xFFD28228;
  }
  return look;
}

void PaintPushButton(Gdiplus::Graphics& g, const OwnerButton& b) {
  PaintButtonFace(g, b.rect, PushButtonLook(b), b.caption, b.id == 4008 ? 22.0f : 14.0f);
}

void PaintChoiceButton(Gdiplus::Graphics& g, const OwnerButton& b) {
  const Gdiplus::Rect& r = b.rect;
  Gdiplus::SolidBrush fill{Color(kDarkFill)};
  g.FillRectangle(&fill, r);
  Gdiplus::Pen pen(Color(b.checked ? b.accent : kGreyBorder), 1.5f);
  g.DrawRectangle(&pen, Gdiplus::Rect(r.X, r.Y, r.Width - 1, r.Height - 1));
  const int boxY = r.Y + (r.Height - 16) / 2;
  Gdiplus::SolidBrush box{Color(b.checked ? b.accent : kUncheckedBox)};
  g.FillRectangle(&box, r.X + 14, boxY, 16, 16);
  g.DrawRectangle(&pen, r.X + 14, boxY, 16, 16);
  if (b.checked) {
    Gdiplus::Pen tick(Color(kDarkText), 2.2f);
    g.DrawLine(&tick, r.X + 18, boxY + 8, r.X + 21, boxY + 12);
    g.DrawLine(&tick, r.X + 21, boxY + 12, r.X + 27, boxY + 4);
  }
  DrawTextIn(g, b.caption, 13.0f, Gdiplus::FontStyleBold, b.disabled ? kDisabledText : kLightText,
             Gdiplus::RectF(static_cast<float>(r.X + 40), static_cast<float>(r.Y),
                            static_cast<float>(r.Width - 46), static_cast<float>(r.Height)),
             {Gdiplus::StringAlignmentNear, true, true});
}

}  // namespace

void PaintButtonFace(Gdiplus::Graphics& g, const Gdiplus::Rect& rect, const ButtonLook& look,
                     const std::wstring& caption, float captionSize) {
  if (look.fill >> 24) {
    Gdiplus::SolidBrush fill{Color(look.fill)};
    g.FillRectangle(&fill, rect);
  }
  if (look.border >> 24) {
    // The outline sits 1 px inside the right and bottom edges of the item.
    Gdiplus::Pen border(Color(look.border), 1.5f);
    g.DrawRectangle(&border, Gdiplus::Rect(rect.X, rect.Y, rect.Width - 1, rect.Height - 1));
  }
  DrawTextIn(g, caption, captionSize, Gdiplus::FontStyleBold, look.text,
             Gdiplus::RectF(static_cast<float>(rect.X), static_cast<float>(rect.Y),
                            static_cast<float>(rect.Width), static_cast<float>(rect.Height)),
             {Gdiplus::StringAlignmentCenter, true, true});
}

Gdiplus::Rect ItemRect(const DRAWITEMSTRUCT& item) {
  return Gdiplus::Rect(item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
                       item.rcItem.bottom - item.rcItem.top);
}

void PaintOwnerButton(Gdiplus::Graphics& graphics, const OwnerButton& button) {
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
  if (button.id == 4011 || button.id == 4012) {
    PaintChoiceButton(graphics, button);
  } else {
    PaintPushButton(graphics, button);
  }
}

void DrawOwnerButton(const DRAWITEMSTRUCT& item, std::uint32_t accent, bool primaryServerSelected) {
  OwnerButton button;
  button.id = static_cast<int>(item.CtlID);
  button.rect = ItemRect(item);
  wchar_t caption[161] = {};
  GetWindowTextW(item.hwndItem, caption, 161);
  button.caption = caption;
  button.disabled = (item.itemState & ODS_DISABLED) != 0;
  button.pressed = (item.itemState & ODS_SELECTED) != 0;
  button.checked = button.id == 4011 ? primaryServerSelected : !primaryServerSelected;
  button.accent = accent;
  Gdiplus::Graphics graphics(item.hDC);
  PaintOwnerButton(graphics, button);
}
