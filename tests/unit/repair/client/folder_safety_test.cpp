#include "repair/client/folder_safety.h"

#include <gtest/gtest.h>

#include <set>

#include "repair/client/own_executable.h"
#include "rules/folder_rule.h"
#include "test_support.h"
#include "tests/layers.h"

#ifdef _WIN32
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr fs::perms kWrite =
    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

#ifdef _WIN32
fs::path KnownFolder(const KNOWNFOLDERID& id) {
  PWSTR text = nullptr;
  fs::path folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &text)) && text) folder = text;
  CoTaskMemFree(text);
  return folder;
}

std::wstring Lowercase(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
  return text;
}
#endif

class FolderSafetyTest : public ::testing::Test {
 protected:
  // The tool placed in `folder` (written only when `create`), which becomes the client folder.
  void ToolIn(const fs::path& folder, bool create = true) {
    const fs::path tool = folder / "Fettle.exe";
    if (create) test::WriteFile(tool, "tool");
    f_.context.exePath = tool.wstring();
    f_.context.clientFolder = folder.wstring();
  }
  bool Safe() const { return IsSafeClientFolder(f_.job); }

  test::TempDir dir_;
  fs::path game_ = dir_ / "Games" / "Velmora";
  test::JobFixture f_;
};

TEST_F(FolderSafetyTest, TheGameFolderHoldingTheToolIsSafe) {
  ToolIn(game_);
  EXPECT_TRUE(Safe());
}

TEST_F(FolderSafetyTest, TheToolMustSitDirectlyInTheClientFolder) {
  ToolIn(game_);
  test::WriteFile(dir_ / "elsewhere/Fettle.exe", "tool");
  f_.context.exePath = (dir_ / "elsewhere/Fettle.exe").wstring();
  EXPECT_FALSE(Safe());
  test::WriteFile(game_ / "bin/Fettle.exe", "tool");
  f_.context.exePath = (game_ / "bin/Fettle.exe").wstring();
  EXPECT_FALSE(Safe());
  f_.context.exePath.clear();
  EXPECT_FALSE(Safe());
}

TEST_F(FolderSafetyTest, AClientFolderWithNoPathIsUnsafe) {
  ToolIn(game_);
  f_.context.clientFolder.clear();
  EXPECT_FALSE(Safe());
}

TEST_F(FolderSafetyTest, TheDriveRootIsUnsafe) {
  ToolIn(dir_.path().root_path(), false);
  EXPECT_FALSE(Safe());
}

// None of these folders exists; only the length of the canonical form decides.
TEST_F(FolderSafetyTest, AFolderOfFewerThanSixCharactersIsUnsafe) {
  const fs::path root = dir_.path().root_path();
  const std::size_t rootLength = root.native().size();
  ASSERT_LT(rootLength, 5u);
  ToolIn(root / std::string(5 - rootLength, 'q'), false);
  EXPECT_EQ(CanonicalPath(f_.context.clientFolder).native().size(), 5u);
  EXPECT_FALSE(Safe());
  ToolIn(root / std::string(6 - rootLength, 'q'), false);
  EXPECT_TRUE(Safe());
}

#ifndef _WIN32
TEST_F(FolderSafetyTest, TheUsersOwnFoldersAreUnsafeButGameFoldersInsideThemAreNot) {
  const fs::path home = dir_ / "home";
  fs::create_directories(home);
  test::ScopedEnv homeVariable("HOME", home.string());
  const fs::path temp = dir_ / "tmp";
  test::ScopedEnv tempVariable("TMPDIR", temp.string());
  // Each folder itself, and a folder that holds one (.local holds .local/share).
  for (const fs::path& folder : {home, home / "Downloads", home / "Desktop", home / "Documents",
                                 home / ".local", temp, dir_.path()}) {
    SCOPED_TRACE(folder.string());
    ToolIn(folder);
    EXPECT_FALSE(Safe());
  }
  ToolIn(temp / "Velmora");
  EXPECT_TRUE(Safe());
  ToolIn(home / "Downloads" / "Velmora");
  EXPECT_TRUE(Safe());
  ToolIn(home / "Documents" / "Games" / "Velmora");
  EXPECT_TRUE(Safe());
}

TEST_F(FolderSafetyTest, ALinkToAProtectedFolderIsStillUnsafe) {
  const fs::path home = dir_ / "home";
  test::ScopedEnv homeVariable("HOME", home.string());
  ToolIn(home / "Downloads");
  fs::create_directory_symlink(home / "Downloads", dir_ / "GameLink");
  ToolIn(dir_ / "GameLink", false);
  EXPECT_FALSE(Safe());
}
#else
// Against the system's own answers. Only asks: nothing is written to or removed from the
// prefix's own folders.
TEST_F(FolderSafetyTest, TheUsersOwnFoldersAreUnsafeButGameFoldersInsideThemAreNot) {
  wchar_t temp[MAX_PATH + 1] = {};
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  std::vector<fs::path> places = {fs::path(temp).parent_path()};
  for (const KNOWNFOLDERID* id :
       {&FOLDERID_Profile, &FOLDERID_Desktop, &FOLDERID_Documents, &FOLDERID_Downloads,
        &FOLDERID_Pictures, &FOLDERID_Music, &FOLDERID_Videos, &FOLDERID_SavedGames,
        &FOLDERID_RoamingAppData, &FOLDERID_LocalAppData, &FOLDERID_Public, &FOLDERID_Windows,
        &FOLDERID_System, &FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86,
        &FOLDERID_ProgramData}) {
    places.push_back(KnownFolder(*id));
    ASSERT_FALSE(places.back().empty());
  }
  for (const fs::path& place : places) {
    SCOPED_TRACE(place.string());
    ToolIn(place, false);
    EXPECT_FALSE(Safe());
    ToolIn(place / "My Games" / "Velmora", false);
    EXPECT_TRUE(Safe());
  }
  // Folders that hold one: AppData (Roaming and Local), the drive's Users folder.
  for (const fs::path& holder :
       {KnownFolder(FOLDERID_RoamingAppData).parent_path(), KnownFolder(FOLDERID_UserProfiles)}) {
    SCOPED_TRACE(holder.string());
    ToolIn(holder, false);
    EXPECT_FALSE(Safe());
  }
}

// A folder directly under the Users folder is some user's profile, whoever's.
TEST_F(FolderSafetyTest, AnotherUsersProfileIsUnsafe) {
  ToolIn(KnownFolder(FOLDERID_UserProfiles) / "someone-else", false);
  EXPECT_FALSE(Safe());
  ToolIn(KnownFolder(FOLDERID_UserProfiles) / "someone-else" / "Velmora", false);
  EXPECT_TRUE(Safe());
}

// OneDrive's root comes from its variables as well as from the known folder.
TEST_F(FolderSafetyTest, TheOneDriveRootNamedByItsVariableIsUnsafe) {
  const fs::path oneDrive = dir_ / "OneDrive - Velmora Ltd";
  test::ScopedEnv variable("OneDriveCommercial", oneDrive.string());
  ToolIn(oneDrive, false);
  EXPECT_FALSE(Safe());
  ToolIn(dir_.path(), false);
  EXPECT_FALSE(Safe());
  ToolIn(oneDrive / "Velmora", false);
  EXPECT_TRUE(Safe());
}

// The tool's path may come spelled in any case; the file system does not care, nor may we.
TEST_F(FolderSafetyTest, AProtectedFolderSpelledInAnotherCaseIsStillUnsafe) {
  const fs::path downloads = KnownFolder(FOLDERID_Downloads);
  ASSERT_TRUE(fs::is_directory(downloads));
  ToolIn(Lowercase(downloads.wstring()), false);
  EXPECT_FALSE(Safe());
}
#endif

TEST_F(FolderSafetyTest, RemovingOldFilesEmptiesTheClientFolderButTheTool) {
  ToolIn(game_);
  test::WriteFile(game_ / "game.exe", "binary");
  test::WriteFile(game_ / "readonly.dat", "locked");
  test::WriteFile(game_ / "data/maps/deep/b.map", "bbbb");
  test::WriteFile(game_ / "data/locked/c.pak", "cccc");
  fs::create_directories(game_ / "empty");
  fs::permissions(game_ / "readonly.dat", kWrite, fs::perm_options::remove);
  fs::permissions(game_ / "data/locked/c.pak", kWrite, fs::perm_options::remove);
  fs::permissions(game_ / "data/locked", kWrite, fs::perm_options::remove);

  ASSERT_TRUE(RemoveOldClientFiles(f_.job));
  EXPECT_EQ(test::Tree(game_), (std::set<std::string>{"Fettle.exe"}));
  EXPECT_EQ(test::ReadFile(game_ / "Fettle.exe"), "tool");
  const StatusSnapshot status = f_.status.SnapshotStatus();
  EXPECT_EQ(status.stage, JobStage::Installing);
  EXPECT_EQ(status.statusLine, L"Preparing clean reinstall...");
  EXPECT_EQ(status.detailLine, L"Removing old client files...");
}

TEST_F(FolderSafetyTest, RemovingOldFilesFromAnUnsafeFolderRemovesNothing) {
  ToolIn(game_);
  test::WriteFile(game_ / "game.exe", "binary");
  test::WriteFile(game_ / "data/a.pak", "aaaa");
  test::WriteFile(dir_ / "elsewhere/Fettle.exe", "tool");
  f_.context.exePath = (dir_ / "elsewhere/Fettle.exe").wstring();

  EXPECT_FALSE(RemoveOldClientFiles(f_.job));
  EXPECT_EQ(test::Tree(game_),
            (std::set<std::string>{"Fettle.exe", "game.exe", "data/", "data/a.pak"}));
  const StatusSnapshot status = f_.status.SnapshotStatus();
  EXPECT_EQ(status.stage, JobStage::Failed);
  EXPECT_EQ(status.failureText,
            L"Safety check failed. Reinstall can only run from inside the game client folder.");
}

// Emptying the client must remove a link, never what it points at.
TEST_F(FolderSafetyTest, RemovingOldFilesNeverFollowsALink) {
  ToolIn(game_);
  test::WriteFile(dir_ / "shared/library.pak", "shared");
  std::error_code error;
  test::MakeLink(dir_ / "shared", game_ / "shared", error);
  if (error) GTEST_SKIP() << "no folder links here: " << error.message();
#ifndef _WIN32
  // Wine shows a file link as the plain file it names; on Windows it is a reparse point.
  fs::create_symlink(dir_ / "shared/library.pak", game_ / "library.pak");
#endif

  ASSERT_TRUE(RemoveOldClientFiles(f_.job));
  EXPECT_EQ(test::ReadFile(dir_ / "shared/library.pak"), "shared");
#ifdef _WIN32
  // Wine's RemoveDirectoryW cannot remove a Unix link to a folder, so there the link may stay;
  // Windows removes it.
  const std::set<std::string> tree = test::Tree(game_);
  EXPECT_TRUE(tree == std::set<std::string>{"Fettle.exe"} ||
              tree == (std::set<std::string>{"Fettle.exe", "shared/", "shared/library.pak"}));
#else
  EXPECT_EQ(test::Tree(game_), (std::set<std::string>{"Fettle.exe"}));
#endif
}

class OwnExecutableTest : public FolderSafetyTest {
 protected:
  void SetUp() override { ToolIn(game_); }
  // Whether a tool started from `exePath` takes the client's top entry `name` for itself.
  bool TakesForItself(const fs::path& exePath, const wchar_t* name) const {
    return OwnExecutable(exePath, game_).IsTopEntry(name);
  }
};

TEST_F(OwnExecutableTest, TheToolIsRecognisedUnderAnotherSpellingOfItsPath) {
  EXPECT_TRUE(TakesForItself(game_ / "." / "Fettle.exe", L"Fettle.exe"));
  fs::create_hard_link(game_ / "Fettle.exe", dir_ / "Shortcut.exe");
  EXPECT_TRUE(TakesForItself(dir_ / "Shortcut.exe", L"Fettle.exe"));
#ifdef _WIN32
  EXPECT_TRUE(TakesForItself(game_ / "Fettle.exe", L"FETTLE.EXE"));
#endif
}

TEST_F(OwnExecutableTest, OtherFilesAreNotTheTool) {
  test::WriteFile(game_ / "game.exe", "tool");
  EXPECT_FALSE(TakesForItself(game_ / "Fettle.exe", L"game.exe"));
  // The same name started from elsewhere is another program.
  test::WriteFile(dir_ / "elsewhere" / "Fettle.exe", "another tool");
  EXPECT_FALSE(TakesForItself(dir_ / "elsewhere" / "Fettle.exe", L"Fettle.exe"));
}

// An unknown own path must not match whatever cannot be described either.
TEST_F(OwnExecutableTest, AnUnresolvableToolMatchesNothing) {
  EXPECT_FALSE(TakesForItself(fs::path(), L"Fettle.exe"));
  EXPECT_FALSE(TakesForItself(fs::path(), L""));
}

}  // namespace
