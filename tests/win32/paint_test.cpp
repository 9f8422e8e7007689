#include <gtest/gtest.h>

#include <memory>

#include "canvas.h"
#include "repair/window/main_buttons.h"
#include "repair/window/main_paint.h"
#include "tests/layers.h"
#include "ui/gdiplus_session.h"

namespace {

constexpr std::uint32_t kAccent = 0xFFFFA640;

class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { session_ = std::make_unique<ui::GdiplusSession>(); }
  void TearDown() override { session_.reset(); }

 private:
  std::unique_ptr<ui::GdiplusSession> session_;
};

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

class MainPaintTest : public ::testing::Test {
 protected:
  test::Canvas& Paint() {
    Gdiplus::Graphics graphics = canvas_.Graphics();
    RenderMainWindow(graphics, view_);
    return canvas_;
  }
  test::Canvas canvas_{860, 560};
  MainWindowView view_ = [] {
    MainWindowView view;
    view.accent = kAccent;
    view.title = L"Fettle.exe";
    view.clientFolder = L"C:\\Games\\Velmora";
    return view;
  }();
};

TEST_F(MainPaintTest, PaletteWithoutImages) {
  test::Canvas& c = Paint();
  EXPECT_EQ(c.At(5, 100), 0xFF0A0B0Cu);   // background, no veil
  EXPECT_EQ(c.At(400, 20), 0xFF0C0D0Eu);  // title bar
  EXPECT_EQ(c.At(400, 47), kAccent);      // the accent rule
  EXPECT_EQ(c.At(400, 48), 0xFF0A0B0Cu);
  EXPECT_EQ(c.At(100, 150), 0xFF111215u);                 // panel
  EXPECT_EQ(c.At(48, 150), 0xFF302D36u);                  // panel border
  EXPECT_EQ(c.At(429, 190), 0xFF121316u);                 // placeholder disc
  EXPECT_TRUE(c.Contains(373, 88, 112, 112, kAccent));    // its ring and "VQ"
  EXPECT_TRUE(c.Contains(72, 214, 716, 40, kAccent));     // the heading
  EXPECT_TRUE(c.Contains(22, 14, 100, 20, 0xFFBAB9BEu));  // the title text
}

TEST_F(MainPaintTest, BackgroundImageIsVeiled) {
  test::Canvas white(100, 100);
  {
    Gdiplus::Graphics g = white.Graphics();
    g.Clear(Gdiplus::Color(0xFFFFFFFF));
  }
  view_.background = white.bitmap();
  test::Canvas& c = Paint();
  const std::uint32_t pixel = c.At(5, 100);
  // 0xCD of 0x0A0B0C over white: about 0x3A3B3B.
  for (int shift : {16, 8, 0}) {
    const int channel = static_cast<int>((pixel >> shift) & 0xFF);
    EXPECT_NEAR(channel, 0x3B, 2) << shift;
  }
}

TEST_F(MainPaintTest, ALogoReplacesThePlaceholder) {
  test::Canvas logo(64, 64);
  {
    Gdiplus::Graphics g = logo.Graphics();
    g.Clear(Gdiplus::Color(0xFF2040E0));
  }
  view_.logo = logo.bitmap();
  test::Canvas& c = Paint();
  EXPECT_EQ(c.At(430, 150), 0xFF2040E0u);  // scaled to 126 x 126, centred in 345..515
  EXPECT_NE(c.At(429, 190), 0xFF121316u);
}

TEST_F(MainPaintTest, ProgressFillFollowsTheStage) {
  const std::uint32_t track = 0xFF0B0C0F;
  view_.status.stage = JobStage::Installing;
  view_.status.filesTotal = 120;
  view_.status.filesDone = 37;
  test::Canvas& installing = Paint();
  EXPECT_EQ(installing.At(115 + 193, 340), kAccent);  // 194 px filled
  EXPECT_EQ(installing.At(115 + 194, 340), track);
  EXPECT_EQ(installing.At(114, 340), 0xFF302D36u);  // bar outline

  for (JobStage full : {JobStage::Verifying, JobStage::Extracting, JobStage::Complete}) {
    view_.status.stage = full;
    EXPECT_EQ(Paint().At(744, 340), kAccent);
  }
  view_.status = StatusSnapshot{};
  view_.status.stage = JobStage::Downloading;  // unknown size
  view_.status.bytesDone = 5000;
  EXPECT_EQ(Paint().At(115, 340), track);
  view_.status.bytesTotal = 10000;
  EXPECT_EQ(Paint().At(115 + 314, 340), kAccent);
  EXPECT_EQ(Paint().At(115 + 315, 340), track);
  for (JobStage empty : {JobStage::Idle, JobStage::Failed}) {
    view_.status.stage = empty;
    EXPECT_EQ(Paint().At(115, 340), track);
  }
}

TEST_F(MainPaintTest, DetailLineTurnsAccentOnFailure) {
  view_.status.detailLine = L"HHHHHHHH MMMMMMMM";
  view_.status.stage = JobStage::Installing;
  EXPECT_FALSE(Paint().Contains(84, 380, 692, 24, kAccent));
  EXPECT_TRUE(Paint().Contains(84, 380, 692, 24, 0xFF888490u));
  view_.status.stage = JobStage::Failed;
  EXPECT_TRUE(Paint().Contains(84, 380, 692, 24, kAccent));
}

TEST_F(MainPaintTest, AccentComesFromTheProfileColour) {
  view_.accent = 0xFF00FF00;
  test::Canvas& c = Paint();
  EXPECT_EQ(c.At(400, 47), 0xFF00FF00u);
  EXPECT_TRUE(c.Contains(72, 214, 716, 40, 0xFF00FF00u));
}

struct ButtonCase {
  int id;
  bool disabled;
  bool pressed;
  std::uint32_t fill;
  std::uint32_t border;
  std::uint32_t text;
};

class ButtonPaintTest : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(ButtonPaintTest, FillBorderAndTextByIdAndState) {
  const ButtonCase& expected = GetParam();
  test::Canvas c(200, 44);
  ui::OwnerButton button;
  button.id = expected.id;
  button.rect = Gdiplus::Rect(0, 0, 200, 44);
  button.caption = L"HHHH";
  button.disabled = expected.disabled;
  button.pressed = expected.pressed;
  button.accent = kAccent;
  {
    Gdiplus::Graphics g = c.Graphics();
    PaintMainButton(g, button);
  }
  EXPECT_EQ(c.At(10, 10), expected.fill);
  EXPECT_EQ(c.At(0, 22), expected.border);
  EXPECT_TRUE(c.Contains(60, 5, 80, 34, expected.text));
}

INSTANTIATE_TEST_SUITE_P(
    Ids, ButtonPaintTest,
    ::testing::Values(ButtonCase{4001, false, false, kAccent, kAccent, 0xFF0A0A0C},
                      ButtonCase{4001, true, false, 0xFF504637, 0xFF323037, 0xFF66636E},
                      ButtonCase{4001, false, true, 0xFFD28228, kAccent, 0xFF0A0A0C},
                      ButtonCase{4002, false, false, 0xFF18191E, kAccent, kAccent},
                      ButtonCase{4009, false, true, 0xFFD28228, kAccent, kAccent},
                      ButtonCase{4005, false, false, 0xFF111215, 0xFF2D2B32, kAccent},
                      ButtonCase{4006, false, true, 0xFF1F2025, 0xFF2D2B32, kAccent},
                      ButtonCase{4003, false, false, 0xFF18191E, 0xFF5C5766, 0xFFF5F5F8},
                      ButtonCase{4004, true, false, 0xFF18191E, 0xFF323037, 0xFF66636E}));

TEST(ChoiceButtonPaint, CheckedAndUnchecked) {
  for (const bool checked : {true, false}) {
    test::Canvas c(300, 34);
    ui::OwnerButton button;
    button.id = 4011;
    button.rect = Gdiplus::Rect(0, 0, 300, 34);
    button.caption = L"Repair game on Asia Download Server";
    button.checked = checked;
    button.accent = kAccent;
    {
      Gdiplus::Graphics g = c.Graphics();
      PaintMainButton(g, button);
    }
    EXPECT_EQ(c.At(150, 2), 0xFF18191Eu);
    EXPECT_EQ(c.At(0, 17), checked ? kAccent : 0xFF5C5766u);     // outline
    EXPECT_EQ(c.At(16, 23), checked ? kAccent : 0xFF0B0C0Fu);    // inside the box
    EXPECT_EQ(c.Contains(16, 11, 14, 12, 0xFF0A0A0C), checked);  // the tick
    EXPECT_TRUE(c.Contains(40, 0, 254, 34, 0xFFF5F5F8));         // caption
  }
}

}  // namespace
