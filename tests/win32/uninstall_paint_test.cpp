#include <gtest/gtest.h>

#include "canvas.h"
#include "tests/layers.h"
#include "uninstall/window/uninstall_controls.h"
#include "uninstall/window/uninstall_paint.h"

namespace {

constexpr std::uint32_t kGreen = 0xFF00C060;
constexpr std::uint32_t kOrange = 0xFFFFA640;

class UninstallPaintTest : public ::testing::Test {
 protected:
  test::Canvas& Paint() {
    Gdiplus::Graphics graphics = canvas_.Graphics();
    RenderUninstallWindow(graphics, view_);
    return canvas_;
  }
  test::Canvas canvas_{680, 420};
  UninstallView view_ = [] {
    UninstallView view;
    view.accent = kGreen;
    view.downloaderName = L"Velmora Downloader";
    view.ownFolder = L"C:\\Games\\Velmora";
    view.statusText = L"Ready to uninstall.";
    return view;
  }();
};

TEST_F(UninstallPaintTest, ItsOwnPaletteWithoutAnImage) {
  test::Canvas& c = Paint();
  EXPECT_EQ(c.At(5, 100), 0xFF0A0B0Cu);   // background, no veil
  EXPECT_EQ(c.At(300, 20), 0xFF0C0D0Eu);  // title bar
  EXPECT_EQ(c.At(679, 47), kGreen);       // the accent rule, all the way across
  EXPECT_EQ(c.At(300, 48), 0xFF0A0B0Cu);
  EXPECT_EQ(c.At(50, 300), 0xFF121316u);  // the panel, one shade lighter than the repair tool's
  EXPECT_EQ(c.At(42, 300), 0xFF302D36u);  // its outline
  EXPECT_EQ(c.At(638, 300), 0xFF302D36u);
  EXPECT_EQ(c.At(300, 378), 0xFF302D36u);
  EXPECT_EQ(c.At(300, 379), 0xFF0A0B0Cu);
  EXPECT_TRUE(c.Contains(64, 108, 552, 42, kGreen));       // "Uninstall Velmora"
  EXPECT_TRUE(c.Contains(82, 164, 516, 28, 0xFFF8F8FAu));  // what will happen
  EXPECT_TRUE(c.Contains(82, 205, 516, 28, 0xFFF8F8FAu));  // the folder
  EXPECT_TRUE(c.Contains(82, 246, 516, 28, 0xFFBEBBC4u));  // the warning
  EXPECT_TRUE(c.Contains(82, 282, 516, 24, 0xFFBEBBC4u));  // the status
  EXPECT_TRUE(c.Contains(24, 14, 160, 20, 0xFFBAB9BEu));   // the title text
  EXPECT_FALSE(c.Contains(0, 49, 680, 28, kGreen));        // no logo, no progress bar
  EXPECT_FALSE(c.Contains(42, 306, 596, 72, kGreen));
}

TEST_F(UninstallPaintTest, TheStatusLineShowsWhatItIsGiven) {
  view_.statusText.clear();
  EXPECT_FALSE(Paint().Contains(82, 282, 516, 24, 0xFFBEBBC4u));
  view_.statusText = L"Safety check failed. This uninstaller can only remove its own game folder.";
  EXPECT_TRUE(Paint().Contains(82, 282, 516, 24, 0xFFBEBBC4u));
}

TEST_F(UninstallPaintTest, TheTitleIsTheDownloaderNameAsStored) {
  view_.downloaderName.clear();
  const std::uint32_t empty = Paint().At(30, 24);
  view_.downloaderName =
      L"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW";
  // Unclipped: a long name runs on under the small buttons' place.
  EXPECT_TRUE(Paint().Contains(560, 14, 100, 20, 0xFFBAB9BEu));
  EXPECT_EQ(empty, 0xFF0C0D0Eu);  // " Uninstaller" alone starts further right
}

TEST_F(UninstallPaintTest, BackgroundImageCoversAndIsVeiled) {
  test::Canvas white(100, 50);
  {
    Gdiplus::Graphics g = white.Graphics();
    g.Clear(Gdiplus::Color(0xFFFFFFFF));
  }
  view_.background = white.bitmap();
  test::Canvas& c = Paint();
  for (const auto& [x, y] : {std::pair{5, 100}, std::pair{660, 395}}) {
    const std::uint32_t pixel = c.At(x, y);
    for (int shift : {16, 8, 0}) {
      EXPECT_NEAR(static_cast<int>((pixel >> shift) & 0xFF), 0x3B, 2) << x << "," << shift;
    }
  }
}

struct UninstallButtonCase {
  UninstallButtonId id;
  bool disabled;
  bool pressed;
  std::uint32_t fill;
  std::uint32_t border;
  std::uint32_t text;
};

class UninstallButtonTest : public ::testing::TestWithParam<UninstallButtonCase> {};

// The accent is green here: only the small buttons' captions may follow it.
TEST_P(UninstallButtonTest, FixedColoursByIdOnePressedColourAndNoDisabledLook) {
  const UninstallButtonCase& expected = GetParam();
  test::Canvas c(148, 42);
  ui::OwnerButton button;
  button.id = static_cast<int>(expected.id);
  button.rect = Gdiplus::Rect(0, 0, 148, 42);
  button.caption = L"HHHH";
  button.disabled = expected.disabled;
  button.pressed = expected.pressed;
  button.accent = kGreen;
  {
    Gdiplus::Graphics g = c.Graphics();
    PaintUninstallButton(g, button);
  }
  EXPECT_EQ(c.At(8, 8), expected.fill);
  EXPECT_EQ(c.At(0, 21), expected.border);
  EXPECT_EQ(c.At(74, 0), expected.border);
  EXPECT_TRUE(c.Contains(30, 4, 88, 34, expected.text));
}

INSTANTIATE_TEST_SUITE_P(
    Ids, UninstallButtonTest,
    ::testing::Values(UninstallButtonCase{UninstallButtonId::Uninstall, false, false, kOrange,
                                          kOrange, 0xFF0A0A0C},
                      UninstallButtonCase{UninstallButtonId::Uninstall, true, false, kOrange,
                                          kOrange, 0xFF0A0A0C},
                      UninstallButtonCase{UninstallButtonId::Uninstall, false, true, 0xFFD28228,
                                          kOrange, 0xFF0A0A0C},
                      UninstallButtonCase{UninstallButtonId::Cancel, false, false, 0xFF18191E,
                                          0xFF5C5766, 0xFFF5F5F8},
                      UninstallButtonCase{UninstallButtonId::Cancel, true, false, 0xFF18191E,
                                          0xFF5C5766, 0xFFF5F5F8},
                      UninstallButtonCase{UninstallButtonId::Cancel, false, true, 0xFFD28228,
                                          0xFF5C5766, 0xFFF5F5F8},
                      UninstallButtonCase{UninstallButtonId::Minimise, false, false, 0xFF121317,
                                          0xFF3C3A44, kGreen},
                      UninstallButtonCase{UninstallButtonId::Close, false, true, 0xFFD28228,
                                          0xFF3C3A44, kGreen}));

}  // namespace
