#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/environment.h"
#include "platform/text.h"
#include "powershell_reader.h"
#include "rules/folder_rule.h"
#include "rules/programs_key.h"
#include "standins.h"
#include "test_support.h"
#include "tests/layers.h"
#include "uninstall/flow/start_uninstall.h"
#include "uninstall/flow/uninstall_script.h"
#include "uninstall/flow/uninstall_shortcut.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

// The uninstaller's own start of the cleanup helper, against a powershell.exe stand-in that
// records what it was given (and, on Windows, carries the script out).
class StartUninstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(bin_);
#ifdef _WIN32
    test::InstallStandins(bin_, {"powershell.exe"});
    // A powershell.exe planted in the current folder, which Windows would search before
    // System32 for a bare name; it records nothing in the cleanup log.
    fs::copy_file(PARCELWRIGHT_STANDIN_EXE, bin_ / "powershell.exe");
#else
    fs::create_symlink(fs::path(PARCELWRIGHT_FIXTURES_DIR) / "standins" / "host_cleanup_standin.py",
                       bin_ / "powershell.exe");
#endif
    uninstaller_.profile.programsDisplayName =
        L"Parcelwright Test " + std::to_wstring(platform::ProcessId());
  }

  void GameIn(const fs::path& folder) {
    test::WriteFile(folder / "Uninstall.exe", "MZ");
    test::WriteFile(folder / "data" / "client.pak", "client");
    uninstaller_.ownFolder = folder;
  }

  // Starts the helper: the stand-in is found through PATH on the host; on Windows the one in
  // System32 must run although the current folder holds another powershell.exe.
  bool Start() {
#ifdef _WIN32
    std::error_code error;
    const fs::path previous = fs::current_path(error);
    fs::current_path(bin_, error);
    const bool started = StartUninstall(uninstaller_);
    fs::current_path(previous, error);
    return started;
#else
    return StartUninstall(uninstaller_);
#endif
  }

  // The stand-in's record once it has ended.
  std::vector<std::string> Record() {
    if (uninstaller_.helper) {
      EXPECT_EQ(uninstaller_.helper->Wait(30000), platform::ChildProcess::WaitResult::Exited);
    }
    return test::StandinLog(log_);
  }

  std::string Field(const std::vector<std::string>& record, const std::string& kind) {
    for (const std::string& line : record) {
      if (line.rfind(kind + "\t", 0) == 0) return line.substr(kind.size() + 1);
    }
    return "<none>";
  }

  test::TempDir dir_;
  fs::path bin_ = dir_ / "bin";
  fs::path log_ = dir_ / "cleanup.log";
  test::ScopedEnv logVariable_{"PARCELWRIGHT_CLEANUP_LOG", log_.string()};
#ifndef _WIN32
  test::ScopedEnv pathVariable_{"PATH", test::PathWithFirst(bin_)};
  test::ScopedEnv homeVariable_{"HOME", (dir_ / "home").string()};
#endif
  Uninstaller uninstaller_;
};

TEST_F(StartUninstallTest, TheHelperGetsTheScriptHiddenAndStartsInTheTemporaryFolder) {
  const fs::path game = dir_ / "Games" / platform::WideToPath(L"Tom\u2019s Game");
  GameIn(game);
  ASSERT_TRUE(Start()) << platform::WideToUtf8(uninstaller_.statusText);
  ASSERT_NE(uninstaller_.helper, nullptr);
  const std::vector<std::string> record = Record();
  const std::wstring expected = UninstallCommandLine(UninstallScript(
      platform::PathToWide(game), platform::PathToWide(UninstallShortcutPath(uninstaller_.profile)),
      UninstallKeyPath(uninstaller_.profile)));
  EXPECT_TRUE(test::SameCommandLine(Field(record, "command"), expected))
      << Field(record, "command");
  EXPECT_EQ(CanonicalPath(platform::WideToPath(platform::Utf8ToWide(Field(record, "cwd")))),
            CanonicalPath(platform::WideToPath(platform::TempFolder())));
}

// The folder's name reaches PowerShell as one literal that reads back as the name itself.
TEST_F(StartUninstallTest, HostileFolderNamesStayOneLiteral) {
  for (const std::wstring name :
       {L"Tom\u2019s Game", L"x'; Remove-Item -Recurse -LiteralPath 'Other'; '",
        L"\u2018Quoted\u201B Game\u201A"}) {
    SCOPED_TRACE(platform::WideToUtf8(name));
    const fs::path game = dir_ / "Games" / platform::WideToPath(name);
    GameIn(game);
    fs::remove(log_);
    ASSERT_TRUE(Start());
    const std::wstring command = platform::Utf8ToWide(Field(Record(), "command"));
    const std::wstring prefix = L"Remove-Item -LiteralPath ";
    const std::size_t at = command.find(prefix + L"'" + platform::PathToWide(dir_ / "Games"));
    ASSERT_NE(at, std::wstring::npos);
    const auto literal =
        test::ReadPowerShellLiteral(std::wstring_view(command).substr(at + prefix.size()));
    ASSERT_TRUE(literal.has_value());
    EXPECT_EQ(literal->value, platform::PathToWide(game));
  }
}

TEST_F(StartUninstallTest, StartingAgainHoldsOnlyTheLatestHelper) {
  GameIn(dir_ / "Games" / "Velmora");
  ASSERT_TRUE(Start());
  const platform::ProcessRef first = uninstaller_.helper->Ref();
  EXPECT_EQ(uninstaller_.helper->Wait(30000), platform::ChildProcess::WaitResult::Exited);
  GameIn(dir_ / "Games" / "Velmora");  // the Windows stand-in has carried the first one out
  ASSERT_TRUE(Start());
  EXPECT_NE(uninstaller_.helper->Ref(), first);
  std::size_t commands = 0;
  for (const std::string& line : Record()) commands += line.rfind("command\t", 0) == 0;
  EXPECT_EQ(commands, 2u);
}

#ifndef _WIN32
// Windows always has a powershell.exe in its system folder; the host can do without one.
TEST_F(StartUninstallTest, WithoutPowerShellNothingStarts) {
  GameIn(dir_ / "Games" / "Velmora");
  test::ScopedEnv emptyPath("PATH", (dir_ / "nothing").string());
  EXPECT_FALSE(Start());
  EXPECT_EQ(uninstaller_.statusText, L"Could not start the uninstall helper.");
  EXPECT_EQ(uninstaller_.helper, nullptr);
}

TEST_F(StartUninstallTest, AnUnknownDesktopLeavesTheShortcutOut) {
  GameIn(dir_ / "Games" / "Velmora");
  test::ScopedEnv noHome("HOME", std::nullopt);
  ASSERT_TRUE(Start());
  const std::string command = Field(Record(), "command");
  EXPECT_EQ(command.find(".lnk"), std::string::npos);
  EXPECT_NE(command.find("Start-Sleep -Milliseconds 1200; Remove-Item -LiteralPath '" +
                         (dir_ / "Games" / "Velmora").string() + "' -Recurse"),
            std::string::npos);
}
#else
// The stand-in carries the script out: the folder, its shortcut and its key go, nothing else.
TEST_F(StartUninstallTest, TheScriptRemovesTheFolderTheShortcutAndTheKeyOnly) {
  const fs::path game = dir_ / "Games" / platform::WideToPath(L"x'; Remove-Item \u2019 Game");
  GameIn(game);
  test::WriteFile(dir_ / "Games" / "Other" / "keep.txt", "keep");
  const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" +
                           ProgramsKeyName(uninstaller_.profile);
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &handle, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(handle);
  uninstaller_.profile.shortcutName = L"Parcelwright Test Shortcut";
  const fs::path shortcut = UninstallShortcutPath(uninstaller_.profile);
  ASSERT_FALSE(shortcut.empty());
  test::WriteFile(shortcut, "link");

  ASSERT_TRUE(Start());
  const std::vector<std::string> record = Record();
  EXPECT_EQ(Field(record, "done"), "ok");
  EXPECT_EQ(Field(record, "message"),
            "Uninstall Complete\tThe game client and folder have been removed from this PC.");
  EXPECT_FALSE(fs::exists(game));
  EXPECT_FALSE(fs::exists(shortcut));
  EXPECT_TRUE(fs::exists(dir_ / "Games" / "Other" / "keep.txt"));
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle), ERROR_SUCCESS);
}
#endif

}  // namespace
