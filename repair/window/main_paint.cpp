#include "repair/window/main_paint.h"

#include <algorithm>

#include "profile/fallbacks.h"
#include "profile/file_name.h"
#include "repair/view/progress_view.h"
#include "ui/text_drawing.h"
#include "ui/window_frame.h"

namespace repair {

namespace {

using Gdiplus::Color;

constexpr std::uint32_t kPanel = 0xFF111215;
constexpr std::uint32_t kBorder = 0xFF302D36;
constexpr std::uint32_t kPlaceholder = 0xFF121316;
constexpr std::uint32_t kTrack = 0xFF0B0C0F;
constexpr std::uint32_t kMainText = 0xFFF8F8FA;
constexpr std::uint32_t kSecondaryText = 0xFFBEBBC4;
constexpr std::uint32_t kDetailText = 0xFF888490;

void DrawProgress(Gdiplus::Graphics& g, const StatusSnapshot& status, std::uint32_t accent) {
  Gdiplus::Pen border(Color(kBorder), 1.0f);
  g.DrawRectangle(&border, 114, 328, 632, 26);
  Gdiplus::SolidBrush track{Color(kTrack)};
  g.FillRectangle(&track, 115, 329, 630, 24);
  const int fill = ProgressFillWidth(ProgressPercent(status));
  if (fill > 0) {
    Gdiplus::SolidBrush bar{Color(accent)};
    g.FillRectangle(&bar, 115, 329, fill, 24);
  }
  ui::DrawTextIn(g, ProgressLineText(status), 15.0f, Gdiplus::FontStyleBold, kMainText,
                 Gdiplus::RectF(114, 356, 632, 24));
  ui::DrawTextIn(g, status.detailLine, 12.0f, Gdiplus::FontStyleRegular,
                 status.stage == JobStage::Failed ? accent : kDetailText,
                 Gdiplus::RectF(84, 380, 692, 24));
}

void DrawTitleBar(Gdiplus::Graphics& g, const std::wstring& title, std::uint32_t accent) {
  ui::DrawTitleBand(g, profile::SanitizeFileName(title, profile::kFallbackRepairToolName), 22,
                    kWindowWidth, accent);
}

void DrawLogo(Gdiplus::Graphics& g, Gdiplus::Bitmap* logo, std::uint32_t accent) {
  if (ui::HasSize(logo)) {
    const double width = logo->GetWidth();
    const double height = logo->GetHeight();
    const double scale = std::min(126 / height, 170 / width);
    const int scaledWidth = static_cast<int>(width * scale);
    const int scaledHeight = static_cast<int>(height * scale);
    g.DrawImage(logo, 345 + (170 - scaledWidth) / 2, 88 + (126 - scaledHeight) / 2, scaledWidth,
                scaledHeight);
    return;
  }
  Gdiplus::SolidBrush disc{Color(kPlaceholder)};
  g.FillEllipse(&disc, 373, 88, 112, 112);
  Gdiplus::Pen ring(Color(accent), 2.0f);
  g.DrawEllipse(&ring, 373, 88, 112, 112);
  ui::DrawTextIn(g, L"VQ", 36.0f, Gdiplus::FontStyleBold, accent, Gdiplus::RectF(373, 88, 112, 112),
                 {Gdiplus::StringAlignmentCenter, true, false});
}

}  // namespace

void RenderMainWindow(Gdiplus::Graphics& g, const MainWindowView& view) {
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
  ui::DrawCoverBackground(g, view.background, kWindowWidth, kWindowHeight);
  DrawTitleBar(g, view.title, view.accent);
  Gdiplus::SolidBrush panel{Color(kPanel)};
  g.FillRectangle(&panel, 48, 72, 764, 310);
  Gdiplus::Pen panelBorder(Color(kBorder), 1.0f);
  g.DrawRectangle(&panelBorder, 48, 72, 764, 310);
  DrawLogo(g, view.logo, view.accent);
  ui::DrawTextIn(g, L"Repair or Reinstall the Game", 28.0f, Gdiplus::FontStyleBold, view.accent,
                 Gdiplus::RectF(72, 214, 716, 40));
  ui::DrawTextIn(g, view.clientFolder, 12.0f, Gdiplus::FontStyleRegular, kSecondaryText,
                 Gdiplus::RectF(84, 276, 692, 26));
  DrawProgress(g, view.status, view.accent);
}

void PaintMainWindow(HWND window, const MainWindowView& view) {
  ui::PaintBuffered(window, kWindowWidth, kWindowHeight,
                    [&view](Gdiplus::Graphics& g) { RenderMainWindow(g, view); });
}

}  // namespace repair
