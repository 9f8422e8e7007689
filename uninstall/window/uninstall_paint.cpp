#include "uninstall/window/uninstall_paint.h"

#include "ui/text_drawing.h"
#include "ui/window_frame.h"
#include "uninstall/window/uninstall_controls.h"

namespace uninstall {

namespace {

using Gdiplus::Color;

constexpr std::uint32_t kUninstallPanel = 0xFF121316;
constexpr std::uint32_t kBorder = 0xFF302D36;
constexpr std::uint32_t kMainText = 0xFFF8F8FA;
constexpr std::uint32_t kSecondaryText = 0xFFBEBBC4;
constexpr std::uint32_t kPressedFill = 0xFFD28228;
// The main button keeps this orange whatever the accent.
constexpr std::uint32_t kUninstallOrange = 0xFFFFA640;

ui::ButtonLook UninstallButtonLook(const ui::OwnerButton& b) {
  const auto id = static_cast<UninstallButtonId>(b.id);
  ui::ButtonLook look{0xFF121317, b.accent, 0xFF3C3A44};
  if (id == UninstallButtonId::Uninstall) {
    look = {kUninstallOrange, 0xFF0A0A0C, kUninstallOrange};
  } else if (id == UninstallButtonId::Cancel) {
    look = {0xFF18191E, 0xFFF5F5F8, 0xFF5C5766};
  }
  if (b.pressed) look.fill = kPressedFill;
  return look;
}

}  // namespace

void RenderUninstallWindow(Gdiplus::Graphics& g, const UninstallView& view) {
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
  ui::DrawCoverBackground(g, view.background, kUninstallWidth, kUninstallHeight);
  ui::DrawTitleBand(g, view.downloaderName + L" Uninstaller", 24, kUninstallWidth, view.accent);
  Gdiplus::SolidBrush panel{Color(kUninstallPanel)};
  g.FillRectangle(&panel, 42, 78, 596, 300);
  Gdiplus::Pen panelBorder(Color(kBorder), 1.0f);
  g.DrawRectangle(&panelBorder, 42, 78, 596, 300);
  ui::DrawTextIn(g, L"Uninstall Velmora", 28.0f, Gdiplus::FontStyleBold, view.accent,
                 Gdiplus::RectF(64, 108, 552, 42));
  ui::DrawTextIn(g, L"This will remove the installed game client and folder from this PC.", 15.0f,
                 Gdiplus::FontStyleRegular, kMainText, Gdiplus::RectF(82, 164, 516, 28));
  ui::DrawTextIn(g, view.ownFolder, 15.0f, Gdiplus::FontStyleBold, kMainText,
                 Gdiplus::RectF(82, 205, 516, 28));
  ui::DrawTextIn(g, L"Close the game and patcher before continuing. This cannot be undone.", 12.0f,
                 Gdiplus::FontStyleRegular, kSecondaryText, Gdiplus::RectF(82, 246, 516, 28));
  ui::DrawTextIn(g, view.statusText, 12.0f, Gdiplus::FontStyleRegular, kSecondaryText,
                 Gdiplus::RectF(82, 282, 516, 24));
}

void PaintUninstallButton(Gdiplus::Graphics& g, const ui::OwnerButton& button) {
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
  const bool closeTitle = static_cast<UninstallButtonId>(button.id) == UninstallButtonId::Close;
  // The captions are drawn whole: this window's buttons never trim them.
  ui::PaintButtonFace(g, button.rect, UninstallButtonLook(button), button.caption,
                      closeTitle ? 22.0f : 14.0f, false);
}

void DrawUninstallButton(const DRAWITEMSTRUCT& item, std::uint32_t accent) {
  const ui::OwnerButton button = ui::ReadOwnerButton(item, accent, 128);
  Gdiplus::Graphics graphics(item.hDC);
  PaintUninstallButton(graphics, button);
}

}  // namespace uninstall
