#include "repair/acquire/extractors.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "repair/acquire/extraction.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

TEST(AddUniquePath, SkipsEmptyAndCaseInsensitiveDuplicates) {
  std::vector<std::wstring> list;
  AddUniquePath(list, L"");
  AddUniquePath(list, L"C:\\Tools\\UnRAR.exe");
  AddUniquePath(list, L"c:\\tools\\unrar.EXE");
  AddUniquePath(list, L"C:\\Program Files\\WinRAR\\UnRAR.exe");
  EXPECT_EQ(list, (std::vector<std::wstring>{L"C:\\Tools\\UnRAR.exe",
                                             L"C:\\Program Files\\WinRAR\\UnRAR.exe"}));
}

TEST(EscapeSingleQuotes, DoublesEveryQuotePowerShellRecognises) {
  EXPECT_EQ(EscapeSingleQuotes(L"C:\\Users\\O'Brien\\Temp"), L"C:\\Users\\O''Brien\\Temp");
  EXPECT_EQ(EscapeSingleQuotes(L"Assassin\u2019s"), L"Assassin\u2019\u2019s");
  EXPECT_EQ(EscapeSingleQuotes(L"\u2018\u201A\u201B"), L"\u2018\u2018\u201A\u201A\u201B\u201B");
  EXPECT_EQ(EscapeSingleQuotes(L"''"), L"''''");
  EXPECT_EQ(EscapeSingleQuotes(L"plain \"text\" \u201C\u201D"), L"plain \"text\" \u201C\u201D");
}

TEST(FileNamePart, TakesTheTextAfterTheLastSeparator) {
  EXPECT_EQ(FileNamePart(L"C:\\Program Files/WinRAR\\WinRAR.exe"), L"WinRAR.exe");
  EXPECT_EQ(FileNamePart(L"7z.exe"), L"7z.exe");
}

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

TEST_F(FindExtractorsTest, AFolderIsNotAnExtractor) {
  fs::create_directories(dir_ / "game" / "unrar.exe");
  Install("pf/7-Zip/7z.exe");
  const std::vector<ExtractorCandidate> found = FindExtractors(f_.job, L"A.rar", L"D");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(fs::path(found[0].program), fs::path(At("pf/7-Zip/7z.exe")));
}

}  // namespace
