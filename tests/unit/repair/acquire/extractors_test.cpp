#include "repair/acquire/extractors.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "repair/acquire/extraction.h"
#include "test_support.h"
#include "tests/layers.h"

namespace fs = std::filesystem;

namespace {

class FindExtractorsTest : public ::testing::Test {
 protected:
  void SetUp() override { f_.context.exePath = dir_ / "game" / "Fettle.exe"; }
  void Install(const fs::path& relative) { test::WriteFile(dir_ / relative, "stand-in"); }
  std::wstring At(const fs::path& relative) const { return platform::PathToWide(dir_ / relative); }

  test::TempDir dir_;
  test::JobFixture f_;
  test::ScopedEnv programFiles_{"ProgramFiles", (dir_ / "pf").string()};
  test::ScopedEnv programFilesX86_{"ProgramFiles(x86)", (dir_ / "pf86").string()};
  test::ScopedEnv path_{"PATH", (dir_ / "bin").string()};
};

TEST_F(FindExtractorsTest, NothingInstalledGivesNothing) {
  EXPECT_TRUE(FindExtractors(f_.job, L"a.rar", L"out").empty());
}

TEST_F(FindExtractorsTest, ListsRarFamilyBeforeSevenZipInTheFixedOrder) {
  Install("bin/7za.exe");
  Install("pf86/7-Zip/7z.exe");
  Install("game/7z.exe");
  Install("bin/WinRAR.exe");
  Install("pf86/WinRAR/WinRAR.exe");
  Install("pf/WinRAR/UnRAR.exe");
  Install("game/unrar.exe");
  const std::wstring sep(1, fs::path::preferred_separator);
  const std::wstring unrarArgs = L"x -o+ \"A.rar\" \"D" + sep + L"\"";
  const std::wstring winrarArgs = L"x -ibck -o+ \"A.rar\" \"D" + sep + L"\"";
  const std::wstring sevenArgs = L"x -y -o\"D\" \"A.rar\"";
  const std::vector<ExtractorCandidate> expected = {
      {At("game/unrar.exe"), unrarArgs},
      {At("pf/WinRAR/UnRAR.exe"), unrarArgs},
      {At("pf86/WinRAR/WinRAR.exe"), winrarArgs},
      {At("bin/WinRAR.exe"), winrarArgs},
      {At("game/7z.exe"), sevenArgs},
      {At("pf86/7-Zip/7z.exe"), sevenArgs},
      {At("bin/7za.exe"), sevenArgs},
  };
  const std::vector<ExtractorCandidate> found = FindExtractors(f_.job, L"A.rar", L"D");
  ASSERT_EQ(found.size(), expected.size());
  for (std::size_t i = 0; i < found.size(); ++i) {
    EXPECT_EQ(fs::path(found[i].program), fs::path(expected[i].program)) << i;
    EXPECT_EQ(found[i].arguments, expected[i].arguments) << i;
  }
}

TEST_F(FindExtractorsTest, AProgramFoundTwiceIsListedOnce) {
  // The search path leads back to the tool's own folder, on Windows in another letter case.
  Install("game/unrar.exe");
  const bool caseBlind = fs::path::preferred_separator == L'\\';
  const test::ScopedEnv path{"PATH", (dir_ / (caseBlind ? "GAME" : "game")).string()};
  const std::vector<ExtractorCandidate> found = FindExtractors(f_.job, L"A.rar", L"D");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(fs::path(found[0].program), fs::path(At("game/unrar.exe")));
}

TEST_F(FindExtractorsTest, AFolderIsNotAnExtractor) {
  fs::create_directories(dir_ / "game" / "unrar.exe");
  Install("pf/7-Zip/7z.exe");
  const std::vector<ExtractorCandidate> found = FindExtractors(f_.job, L"A.rar", L"D");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(fs::path(found[0].program), fs::path(At("pf/7-Zip/7z.exe")));
}

// Neither an unset ProgramFiles nor an empty or relative PATH entry may make a candidate of a
// program in the current folder (a game folder, where a package may leave a WinRAR.exe).
TEST_F(FindExtractorsTest, TheCurrentFolderIsNeverSearched) {
  Install("cwd/WinRAR/UnRAR.exe");
  Install("cwd/7-Zip/7z.exe");
  Install("cwd/7za.exe");
  const test::ScopedEnv noProgramFiles{"ProgramFiles", std::nullopt};
  const test::ScopedEnv noProgramFilesX86{"ProgramFiles(x86)", std::nullopt};
  const std::string separator = fs::path::preferred_separator == L'\\' ? ";" : ":";
  const test::ScopedEnv path{"PATH", separator + "." + separator + "bin"};
  std::error_code error;
  const fs::path previous = fs::current_path(error);
  fs::current_path(dir_ / "cwd", error);
  ASSERT_FALSE(error);
  const std::vector<ExtractorCandidate> found = FindExtractors(f_.job, L"A.rar", L"D");
  fs::current_path(previous, error);
  EXPECT_TRUE(found.empty()) << platform::WideToUtf8(found.front().program);
}

}  // namespace
