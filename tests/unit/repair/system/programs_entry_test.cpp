#include "repair/system/programs_entry.h"

#include <gtest/gtest.h>

#include "repair/system/uninstaller_file.h"
#include "test_support.h"
#include "tests/layers.h"

namespace fs = std::filesystem;

namespace {

TEST(ProgramsEntryPublisher, FallsBackThroughTheCompanyNameToTheDefault) {
  PackageProfile profile;
  profile.programsPublisher = L" Tidewater Games ";
  EXPECT_EQ(ProgramsEntryPublisher(profile), L"Tidewater Games");
  profile.programsPublisher = L" ";
  profile.companyName = L"By Tidewater";
  EXPECT_EQ(ProgramsEntryPublisher(profile), L"By Tidewater");
  profile.companyName = L"\t";
  EXPECT_EQ(ProgramsEntryPublisher(profile), L"Quorvin");
}

TEST(ProgramsEntryVersion, FallsBackThroughEveryVersionAndMayBeEmpty) {
  PackageProfile profile;
  profile.programsDisplayVersion = L"4.1";
  profile.uninstallerProductVersion = L"3.0";
  profile.installerProductVersion = L"2.0";
  profile.downloaderVersion = L"v1.0";
  EXPECT_EQ(ProgramsEntryVersion(profile), L"4.1");
  profile.programsDisplayVersion = L" ";
  EXPECT_EQ(ProgramsEntryVersion(profile), L"3.0");
  profile.uninstallerProductVersion.clear();
  EXPECT_EQ(ProgramsEntryVersion(profile), L"2.0");
  profile.installerProductVersion = L"\t";
  EXPECT_EQ(ProgramsEntryVersion(profile), L"v1.0");
  profile.downloaderVersion = L" ";
  EXPECT_EQ(ProgramsEntryVersion(profile), L"");
}

TEST(QuotedUninstallString, QuotesThePathAndEscapesQuotesInside) {
  EXPECT_EQ(QuotedUninstallString(L"C:\\Games\\Velmora\\Uninstall.exe"),
            L"\"C:\\Games\\Velmora\\Uninstall.exe\"");
  EXPECT_EQ(QuotedUninstallString(L"C:\\a\"b\\Uninstall.exe"), L"\"C:\\a\\\"b\\Uninstall.exe\"");
  EXPECT_EQ(QuotedUninstallString(L""), L"\"\"");
}

TEST(FolderContentBytes, SumsEveryFileBelowTheFolder) {
  test::TempDir dir;
  test::WriteFile(dir / "a.bin", std::string(10, 'a'));
  test::WriteFile(dir / "data/b.bin", std::string(2000, 'b'));
  test::WriteFile(dir / "data/deep/c.bin", std::string(3, 'c'));
  test::WriteFile(dir / "data/deep/empty.bin", "");
  fs::create_directories(dir / "hollow");
  EXPECT_EQ(FolderContentBytes(dir.path()), 2013u);
  EXPECT_EQ(FolderContentBytes(dir / "hollow"), 0u);
  EXPECT_EQ(FolderContentBytes(dir / "missing"), 0u);
}

TEST(FolderContentBytes, LinksCountNothing) {
  test::TempDir dir;
  test::WriteFile(dir / "outside/big.bin", std::string(5000, 'x'));
  test::WriteFile(dir / "client/own.bin", std::string(7, 'o'));
  std::error_code error;
  test::MakeLink(dir / "outside", dir / "client/outside.lnk", error);
  if (error) GTEST_SKIP() << "no folder links here: " << error.message();
#ifndef _WIN32  // Wine shows a file link as the plain file it names
  fs::create_symlink(dir / "outside/big.bin", dir / "client/big.lnk", error);
#endif
  EXPECT_EQ(FolderContentBytes(dir / "client"), 7u);
}

TEST(ResolveStartupExe, MakesARelativePathAbsoluteAgainstTheClientFolder) {
  test::JobFixture f;
  const fs::path client = fs::temp_directory_path() / "Velmora";
  f.context.clientFolder = client.wstring();
  f.profile.startupExe = L"";
  EXPECT_EQ(ResolveStartupExe(f.job), fs::path());
  f.profile.startupExe = L"patcher.exe";
  EXPECT_EQ(ResolveStartupExe(f.job), client / "patcher.exe");
  const fs::path absolute = fs::temp_directory_path() / "elsewhere" / "x.exe";
  f.profile.startupExe = absolute.wstring();
  EXPECT_EQ(ResolveStartupExe(f.job), absolute);
}

// The unit test program carries no uninstaller resource.
TEST(WriteUninstaller, WritesNothingWhenTheToolCarriesNoUninstaller) {
  test::TempDir dir;
  test::JobFixture f;
  f.context.clientFolder = (dir / "client").wstring();
  EXPECT_TRUE(WriteUninstaller(f.job));
  EXPECT_FALSE(fs::exists(dir / "client"));
}

}  // namespace
