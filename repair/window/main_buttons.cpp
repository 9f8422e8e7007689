#include "repair/window/main_buttons.h"

#include "repair/view/button_rules.h"
#include "ui/text_drawing.h"

namespace repair {

namespace {

using Gdiplus::Color;

constexpr std::uint32_t kDarkFill = 0xFF18191E;
constexpr std::uint32_t kQuietFill = 0xFF111215;
constexpr std::uint32_t kLightText = 0xFFF5F5F8;
constexpr std::uint32_t kDarkText = 0xFF0A0A0C;
constexpr std::uint32_t kGreyBorder = 0xFF5C5766;
constexpr std::uint32_t kDisabledText = 0xFF66636E;
constexpr std::uint32_t kUncheckedBox = 0xFF0B0C0F;

bool IsQuietButton(ButtonId id) {
  return id == ButtonId::Website || id == ButtonId::Discord || id == ButtonId::Minimise ||
         id == ButtonId::CloseTitle;
}

ui::ButtonLook PushButtonLook(const ui::OwnerButton& b) {
  const auto id = static_cast<ButtonId>(b.id);
  ui::ButtonLook look{kDarkFill, kLightText, kGreyBorder};
  if (id == ButtonId::Repair) {
    look = {b.accent, kDarkText, b.accent};
  } else if (id == ButtonId::Reinstall || id == ButtonId::Retry || id == ButtonId::Close) {
    look = {kDarkFill, b.accent, b.accent};
  } else if (IsQuietButton(id)) {
    look = {kQuietFill, b.accent, 0xFF2D2B32};
  }
  if (b.disabled) {
    look.text = kDisabledText;
    look.border = 0xFF323037;
    if (id == ButtonId::Repair) look.fill = 0xFF504637;
  } else if (b.pressed) {
    look.fill = IsQuietButton(id) ? 0xFF1F2025 : 0xFFD28228;
  }
  return look;
}

void PaintPushButton(Gdiplus::Graphics& g, const ui::OwnerButton& b) {
  const float captionSize = static_cast<ButtonId>(b.id) == ButtonId::CloseTitle ? 22.0f : 14.0f;
  ui::PaintButtonFace(g, b.rect, PushButtonLook(b), b.caption, captionSize, true);
}

void PaintChoiceButton(Gdiplus::Graphics& g, const ui::OwnerButton& b) {
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
  ui::DrawTextIn(g, b.caption, 13.0f, Gdiplus::FontStyleBold,
                 b.disabled ? kDisabledText : kLightText,
                 Gdiplus::RectF(static_cast<float>(r.X + 40), static_cast<float>(r.Y),
                                static_cast<float>(r.Width - 46), static_cast<float>(r.Height)),
                 {Gdiplus::StringAlignmentNear, true, true});
}

}  // namespace

void PaintMainButton(Gdiplus::Graphics& graphics, const ui::OwnerButton& button) {
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
  const auto id = static_cast<ButtonId>(button.id);
  if (id == ButtonId::PrimaryServer || id == ButtonId::MirrorServer) {
    PaintChoiceButton(graphics, button);
  } else {
    PaintPushButton(graphics, button);
  }
}

void DrawMainButton(const DRAWITEMSTRUCT& item, std::uint32_t accent, bool primaryServerSelected) {
  ui::OwnerButton button = ui::ReadOwnerButton(item, accent, 160);
  button.checked = static_cast<ButtonId>(button.id) == ButtonId::PrimaryServer
                       ? primaryServerSelected
                       : !primaryServerSelected;
  Gdiplus::Graphics graphics(item.hDC);
  PaintMainButton(graphics, button);
}

}  // namespace repair
