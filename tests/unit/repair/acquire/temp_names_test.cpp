#include "repair/acquire/temp_names.h"

#include <gtest/gtest.h>

#include <regex>

#include "platform/environment.h"
#include "platform/text.h"
#include "test_support.h"
#include "tests/layers.h"

namespace {

std::string NameOf(const std::filesystem::path& path) {
  return platform::WideToUtf8(platform::PathToWide(path.filename()));
}

TEST(MakeDownloadPath, NamesTheFileAfterTheToolInTheTempFolder) {
  test::JobFixture f;
  f.profile.repairToolName = L"Game:Tool.exe";
  const std::filesystem::path path = MakeDownloadPath(f.job);
  EXPECT_EQ(path.parent_path() / "", std::filesystem::path(platform::TempFolder()));
  const std::string pid = std::to_string(platform::ProcessId());
  EXPECT_TRUE(
      std::regex_match(NameOf(path), std::regex("Game_Tool\\.exe_" + pid + "_[0-9]+\\.zip")))
      << NameOf(path);
}

TEST(MakeDownloadPath, FallsBackAndTakesTheArchiveKindsExtension) {
  test::JobFixture f;
  f.profile.repairToolName = L"  ";
  f.profile.archiveType = L"rar";
  EXPECT_TRUE(std::regex_match(NameOf(MakeDownloadPath(f.job)),
                               std::regex("VlmQuorvinInstaller_[0-9]+_[0-9]+\\.rar")));
  f.profile.repairToolName = L"";
  f.profile.archiveType = L"auto";
  f.context.jobUrl = L"https://cdn.example/Client.ZIP";
  EXPECT_TRUE(std::regex_match(NameOf(MakeDownloadPath(f.job)),
                               std::regex("VlmQuorvinInstaller_[0-9]+_[0-9]+\\.zip")));
}

TEST(MakeExtractFolderPath, IsNamedAfterTheProcessInTheTempFolder) {
  const std::filesystem::path path = MakeExtractFolderPath();
  EXPECT_EQ(path.parent_path() / "", std::filesystem::path(platform::TempFolder()));
  EXPECT_TRUE(std::regex_match(NameOf(path), std::regex("VlmQuorvinRepair_[0-9]+_[0-9]+")));
}

}  // namespace
