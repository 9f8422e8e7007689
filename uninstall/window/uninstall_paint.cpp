#include "uninstall/window/uninstall_paint.h"

#include "repair/window/text_drawing.h"
#include "repair/window/window_frame.h"
#include "uninstall/window/uninstall_controls.h"

namespace {

using Gdiplus::Color;

constexpr std::uint32_t kPanel = 0xFF121316;
constexpr std::uint32_t kBorder = 0xFF302D36;
constexpr std::uint32_t kMainText = 0xFFF8F8FA;
constexpr std::uint32_t kSecondaryText = 0xFFBEBBC4;
constexpr std::uint32_t kPressedFill = 0xFFD28228;

ButtonLook UninstallButtonLook(const OwnerButton& b) {
  ButtonLook look{0xFF121317, b.accent, 0xFF3C3A44};
  if (b.id == kUninstallButton) {
    look = {0xFFFFA640, 0xFF0A0A0C, 0xFFFFA640};
  } else if (b.id == kCancelButton) {
    look = {0xFF18191E, 0xFFF5F5F8, 0xFF5C5766};
  }
  if (b.pressed) look.fill = kPressedFill;
  return look;
}

}  // namespace

void RenderUninstallWindow(Gdiplus::Graphics& g, const UninstallView& view) {
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
  DrawCoverBackground(g, view.background, kUninstallWidth, kUninstallHeight);
  DrawTitleBand(g, view.downloaderName + L" Uninstaller", 24, kUninstallWidth, view.accent);
  Gdiplus::SolidBrush panel{Color(kPanel)};
  g.FillRectangle(&panel, 42, 78, 596, 300);
  Gdiplus::Pen panelBorder(Color(kBorder), 1.0f);
  g.DrawRectangle(&panelBorder, 42, 78, 596, 300);
  DrawTextIn(g, L"Uninstall Velmora", 28.0f, Gdiplus::FontStyleBold, view.accent,
             Gdiplus::RectF(64, 108, 552, 42));
  DrawTextIn(g, L"This will remove the installed game client and folder from this PC.", 15.0f,
             Gdiplus::FontStyleRegular, kMainText, Gdiplus::RectF(82, 164, 516, 28));
  DrawTextIn(g, view.ownFolder, 15.0f, Gdiplus::FontStyleBold, kMainText,
             Gdiplus::RectF(82, 205, 516, 28));
  DrawTextIn(g, L"Close the game and patcher before continuing. This cannot be undone.", 12.0f,
             Gdiplus::FontStyleRegular, kSecondaryText, Gdiplus::RectF(82, 246, 516, 28));
  DrawTextIn(g, view.statusText, 12.0f, Gdiplus::FontStyleRegular, kSecondaryText,
             Gdiplus::RectF(82, 282, 516, 24));
}

void PaintUninstallButton(Gdiplus::Graphics& g, const OwnerButton& button) {
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
  PaintButtonFace(g, button.rect, UninstallButtonLook(button), button.caption,
                  button.id == kCloseButton ? 22.0f : 14.0f);
}

void DrawUninstallButton(const DRAWITEMSTRUCT& item, std::uint32_t accent) {
  OwnerButton button;
  button.id = static_cast<int>(item.CtlID);
  button.rect = ItemRect(item);
  wchar_t caption[129] = {};
  GetWindowTextW(item.hwndItem, caption, 129);
  button.caption = caption;
  button.pressed = (item.itemState & ODS_SELECTED) != 0;
  button.accent = accent;
  Gdiplus::Graphics graphics(item.hDC);
  PaintUninstallButton(graphics, button);
}
