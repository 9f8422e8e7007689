#include <gtest/gtest.h>

#include "platform/shell.h"
#include "platform/text.h"
#include "powershell_reader.h"
#include "test_support.h"
#include "tests/layers.h"
#include "uninstall/flow/start_uninstall.h"
#include "uninstall/flow/uninstall_safety.h"
#include "uninstall/flow/uninstall_script.h"
#include "uninstall/flow/uninstall_shortcut.h"

namespace fs = std::filesystem;

namespace {

PackageProfile Names(const std::wstring& shortcutName, const std::wstring& downloaderName) {
  PackageProfile profile;
  profile.shortcutName = shortcutName;
  profile.downloaderName = downloaderName;
  return profile;
}

TEST(UninstallShortcutPath, SitsOnTheDesktopWhetherOrNotItExists) {
  fs::path desktop;
  ASSERT_TRUE(platform::DesktopFolder(desktop));
  EXPECT_EQ(UninstallShortcutPath(Names(L"", L"Velmora Downloader")),
            desktop / "Velmora Downloader.lnk");
}

TEST(UninstallScript, RemovesShortcutFolderAndKeyThenReports) {
  PackageProfile profile;
  profile.programsDisplayName = L"Velmora O'Nline";
  EXPECT_EQ(UninstallKeyPath(profile),
            L"Registry::HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
            L"\\Parcelwright.Velmora O'Nline");
  const std::wstring script = UninstallScript(
      L"D:\\Games\\O'Velmora", L"C:\\Users\\me\\Desktop\\Velmora.lnk", UninstallKeyPath(profile));
  EXPECT_EQ(
      script,
      L"$ErrorActionPreference='SilentlyContinue'; Start-Sleep -Milliseconds 1200; "
      L"Remove-Item -LiteralPath 'C:\\Users\\me\\Desktop\\Velmora.lnk' -Force -ErrorAction "
      L"SilentlyContinue; "
      L"Remove-Item -LiteralPath 'D:\\Games\\O''Velmora' -Recurse -Force -ErrorAction "
      L"SilentlyContinue; "
      L"Remove-Item -LiteralPath "
      L"'Registry::HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
      L"Parcelwright.Velmora O''Nline' -Recurse -Force -ErrorAction SilentlyContinue; "
      L"Add-Type -AssemblyName PresentationFramework; "
      L"if (Test-Path -LiteralPath 'D:\\Games\\O''Velmora') { "
      L"[System.Windows.MessageBox]::Show('Some game client files could not be removed. Please "
      L"close the game and patcher, then try again.', 'Uninstall Failed', 'OK', 'Warning') | "
      L"Out-Null } else { "
      L"[System.Windows.MessageBox]::Show('The game client and folder have been removed from this "
      L"PC.', 'Uninstall Complete', 'OK', 'Information') | Out-Null }");
  EXPECT_EQ(UninstallCommandLine(L"Start-Sleep 1"),
            L"powershell.exe -NoProfile -ExecutionPolicy Bypass -WindowStyle Hidden -Command "
            L"\"Start-Sleep 1\"");
}

TEST(UninstallScript, WithoutADesktopTheRemovalStartsWithTheFolder) {
  const std::wstring script = UninstallScript(L"D:\\Games\\Velmora", L"", L"Registry::HKCU\\K");
  EXPECT_EQ(script.rfind(L"$ErrorActionPreference='SilentlyContinue'; Start-Sleep -Milliseconds "
                         L"1200; Remove-Item -LiteralPath 'D:\\Games\\Velmora' -Recurse",
                         0),
            0u);
  EXPECT_EQ(script.find(L".lnk"), std::wstring::npos);
}

TEST(UninstallScript, ANulInANameNeverEndsTheCommandLine) {
  using namespace std::string_literals;
  PackageProfile profile;
  profile.programsDisplayName = L"Vel\0mora"s;
  const std::wstring key = UninstallKeyPath(profile);
  const std::wstring shortcut = L"C:\\Users\\me\\Desktop\\Vel\0mora.lnk"s;
  const std::wstring script = UninstallScript(L"D:\\Games\\Velmora", shortcut, key);
  EXPECT_EQ(script.find(L'\0'), std::wstring::npos);
  // The repair tool's key got the name up to the NUL; no file can hold one in its name.
  EXPECT_NE(script.find(L"\\Uninstall\\Parcelwright.Vel' -Recurse"), std::wstring::npos);
  EXPECT_EQ(script.find(L"Desktop"), std::wstring::npos);
  EXPECT_EQ(script, UninstallScript(L"D:\\Games\\Velmora", L"", key.substr(0, key.find(L'\0'))));
}

TEST(OwnFolderOf, KeepsTheWholeFolderOfTheModule) {
  const fs::path root = fs::temp_directory_path().root_path();
  fs::path deep = root / "Games";
  while (deep.native().size() < 300) deep /= "a very long folder name";
  EXPECT_EQ(OwnFolderOf(platform::PathToWide(deep / "Uninstall.exe")), deep);
  const fs::path quoted = root / "Games" / platform::WideToPath(L"Tom\u2019s Game");
  EXPECT_EQ(OwnFolderOf(platform::PathToWide(quoted / "Uninstall.exe")), quoted);
  EXPECT_EQ(OwnFolderOf(platform::PathToWide(root / "Uninstall.exe")), root);
}

class UninstallSafetyTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  fs::path game_ = dir_ / "Games" / "Velmora";
};

TEST_F(UninstallSafetyTest, OnlyAFolderHoldingUninstallExePasses) {
  fs::create_directories(game_);
  EXPECT_FALSE(UninstallSafetyCheck(game_));
  fs::create_directories(game_ / "Uninstall.exe");
  EXPECT_FALSE(UninstallSafetyCheck(game_));  // a folder of that name is not the uninstaller
  fs::remove(game_ / "Uninstall.exe");
  test::WriteFile(game_ / "Uninstall.exe", "MZ");
  EXPECT_TRUE(UninstallSafetyCheck(game_));
  EXPECT_FALSE(UninstallSafetyCheck(dir_ / "Games" / "Missing"));
  EXPECT_FALSE(UninstallSafetyCheck(fs::path()));
}

TEST_F(UninstallSafetyTest, RootsAndShortPathsAreRefused) {
  const fs::path root = dir_.path().root_path();
  EXPECT_FALSE(UninstallSafetyCheck(root));
  // Does not exist, so only the length of the canonical form can refuse it.
  EXPECT_FALSE(UninstallSafetyCheck(root / std::string(5 - root.native().size(), 'q')));
}

TEST_F(UninstallSafetyTest, AGameFolderReachedThroughALinkIsJudgedWhereItLeads) {
  test::WriteFile(game_ / "Uninstall.exe", "MZ");
  std::error_code error;
  test::MakeLink(game_, dir_ / "GameLink", error);
  if (error) GTEST_SKIP() << "no links here: " << error.message();
  EXPECT_TRUE(UninstallSafetyCheck(dir_ / "GameLink"));
}

#ifndef _WIN32
TEST_F(UninstallSafetyTest, TheUsersOwnFoldersAreRefusedEvenWithTheUninstallerInThem) {
  const fs::path home = dir_ / "home";
  test::ScopedEnv homeVariable("HOME", home.string());
  for (const fs::path& folder : {home, home / "Downloads", home / "Desktop", home / "Documents"}) {
    SCOPED_TRACE(folder.string());
    test::WriteFile(folder / "Uninstall.exe", "MZ");
    EXPECT_FALSE(UninstallSafetyCheck(folder));
  }
  test::WriteFile(home / "Downloads" / "Velmora" / "Uninstall.exe", "MZ");
  EXPECT_TRUE(UninstallSafetyCheck(home / "Downloads" / "Velmora"));
}
#endif

TEST_F(UninstallSafetyTest, ARefusalStartsNothing) {
  Uninstaller uninstaller;
  uninstaller.ownFolder = game_;
  fs::create_directories(game_);
  EXPECT_FALSE(StartUninstall(uninstaller));
  EXPECT_EQ(uninstaller.statusText,
            L"Safety check failed. This uninstaller can only remove its own game folder.");
  EXPECT_EQ(uninstaller.helper, nullptr);
  EXPECT_TRUE(fs::exists(game_));
}

}  // namespace
