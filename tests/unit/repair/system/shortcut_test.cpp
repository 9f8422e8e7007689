#include "repair/system/shortcut.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "test_support.h"
#include "tests/layers.h"

namespace fs = std::filesystem;

namespace {

class ShortcutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f_.context.clientFolder = dir_ / "game";
    f_.context.exePath = dir_ / "game" / "Fettle.exe";
    f_.profile.startupExe = L"patcher.exe";
  }
  test::TempDir dir_;
  test::JobFixture f_;
};

TEST_F(ShortcutTest, RefusesWithoutAStartupProgram) {
  std::wstring message;
  f_.profile.startupExe = L"";
  EXPECT_FALSE(CreateDesktopShortcut(f_.job, message));
  EXPECT_EQ(message, L"No startup EXE is configured for the shortcut.");
  f_.profile.startupExe = L"patcher.exe";
  EXPECT_FALSE(CreateDesktopShortcut(f_.job, message));
  EXPECT_EQ(message, L"Could not find the shortcut target: " +
                         platform::PathToWide(dir_ / "game" / "patcher.exe"));
}

#ifndef _WIN32
// The host's shell writes the link's fields as text; the Windows build reads a real .lnk back
// in the win32 tests.
TEST_F(ShortcutTest, WritesTheLinkOnTheDesktopAndReplacesIt) {
  test::ScopedEnv home("HOME", dir_.path().string());
  fs::create_directories(dir_ / "Desktop");
  test::WriteFile(dir_ / "game" / "patcher.exe", "stand-in");
  f_.profile.shortcutName = L"Velmora Online";
  f_.profile.downloaderName = L"Velmora Downloader";
  std::wstring message;
  ASSERT_TRUE(CreateDesktopShortcut(f_.job, message));
  EXPECT_EQ(message, L"Game desktop shortcut created.");
  ASSERT_TRUE(CreateDesktopShortcut(f_.job, message));
  const std::string link = test::ReadFile(dir_ / "Desktop" / "Velmora Online.lnk");
  EXPECT_NE(link.find("target=" + (dir_ / "game" / "patcher.exe").string()), std::string::npos);
  EXPECT_NE(link.find("description=Velmora Downloader launcher"), std::string::npos);
}
#endif

}  // namespace
