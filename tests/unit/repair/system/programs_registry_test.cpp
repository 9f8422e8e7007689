#include <gtest/gtest.h>

#include <ctime>

#include "platform/host/registry_host.h"
#include "platform/host/resources_host.h"
#include "platform/resources.h"
#include "repair/system/programs_entry.h"
#include "repair/system/uninstaller_file.h"
#include "test_support.h"
#include "tests/layers.h"

namespace fs = std::filesystem;

namespace {

const std::wstring kUninstallRoot = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::wstring LocalDateText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  wchar_t text[16] = {};
  std::swprintf(text, std::size(text), L"%04d%02d%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday);
  return text;
}

class ProgramsRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ClearHostRegistry();
    f_.context.clientFolder = client_.wstring();
    f_.context.exePath = (client_ / "Fettle.exe").wstring();
    f_.profile.programsDisplayName = L"Velmora: Online";
    f_.profile.programsPublisher = L"Tidewater Games";
    f_.profile.programsDisplayVersion = L"4.2.1";
  }
  void TearDown() override {
    platform::ClearHostRegistry();
    platform::ClearHostResources();
  }

  bool Register() { return RegisterProgramsEntry(f_.job, message_); }
  // The values under the game's key; empty when the key was never created.
  platform::RegistryValues Values() const {
    const auto keys = platform::HostRegistrySnapshot();
    const auto found = keys.find(kUninstallRoot + L"Parcelwright.Velmora_ Online");
    return found == keys.end() ? platform::RegistryValues() : found->second;
  }
  std::wstring Text(const std::wstring& name) const {
    const auto values = Values();
    const auto found = values.find(name);
    if (found == values.end() || !std::holds_alternative<std::wstring>(found->second)) {
      return L"<no string " + name + L">";
    }
    return std::get<std::wstring>(found->second);
  }
  std::uint32_t Number(const std::wstring& name) const {
    const auto values = Values();
    const auto found = values.find(name);
    if (found == values.end() || !std::holds_alternative<std::uint32_t>(found->second)) {
      ADD_FAILURE() << "no number " << name;
      return 0xDEADBEEF;
    }
    return std::get<std::uint32_t>(found->second);
  }

  test::TempDir dir_;
  fs::path client_ = dir_ / "Games" / "Velmora";
  fs::path uninstaller_ = client_ / "Uninstall.exe";
  test::JobFixture f_;
  std::wstring message_;
};

TEST_F(ProgramsRegistryTest, NeedsTheUninstallerInTheClientFolder) {
  fs::create_directories(client_);
  EXPECT_FALSE(Register());
  EXPECT_EQ(message_,
            L"Could not register Programs and Features because Uninstall.exe was not written.");
  EXPECT_TRUE(platform::HostRegistrySnapshot().empty());
  fs::create_directories(uninstaller_);
  EXPECT_FALSE(Register());
  EXPECT_TRUE(platform::HostRegistrySnapshot().empty());
}

TEST_F(ProgramsRegistryTest, ReportsAKeyThatCannotBeCreated) {
  test::WriteFile(uninstaller_, "MZ");
  platform::FailHostRegistry(true);
  EXPECT_FALSE(Register());
  EXPECT_EQ(message_, L"Could not register the game in Programs and Features.");
}

TEST_F(ProgramsRegistryTest, AFailingValueStillLetsTheOthersBeWritten) {
  test::WriteFile(uninstaller_, "MZ");
  platform::FailHostRegistry(false, L"Publisher");
  EXPECT_FALSE(Register());
  EXPECT_EQ(message_, L"Could not finish writing the Programs and Features registry entry.");
  const auto values = Values();
  EXPECT_EQ(values.count(L"Publisher"), 0u);
  EXPECT_EQ(Text(L"DisplayName"), L"Velmora: Online");
  EXPECT_EQ(Text(L"DisplayVersion"), L"4.2.1");
  EXPECT_EQ(Number(L"NoRepair"), 1u);
  EXPECT_EQ(values.size(), 9u);
}

TEST_F(ProgramsRegistryTest, WritesTheWholeEntry) {
  test::WriteFile(uninstaller_, "MZ");
  f_.profile.websiteUrl = L"https://velmora.example/";
  const std::wstring dayBefore = LocalDateText();
  ASSERT_TRUE(Register()) << message_;
  const std::wstring dayAfter = LocalDateText();

  EXPECT_EQ(Text(L"DisplayName"), L"Velmora: Online");
  EXPECT_EQ(Text(L"Publisher"), L"Tidewater Games");
  EXPECT_EQ(Text(L"DisplayVersion"), L"4.2.1");
  EXPECT_EQ(Text(L"InstallLocation"), client_.wstring());
  EXPECT_EQ(Text(L"UninstallString"), L"\"" + uninstaller_.wstring() + L"\"");
  EXPECT_EQ(Text(L"DisplayIcon"), uninstaller_.wstring() + L",0");
  EXPECT_EQ(Text(L"URLInfoAbout"), L"https://velmora.example/");
  const std::wstring date = Text(L"InstallDate");
  EXPECT_TRUE(date == dayBefore || date == dayAfter) << date;
  EXPECT_EQ(Number(L"EstimatedSize"), 1u);
  EXPECT_EQ(Number(L"NoModify"), 1u);
  EXPECT_EQ(Number(L"NoRepair"), 1u);
  EXPECT_EQ(Values().size(), 11u);
}

TEST_F(ProgramsRegistryTest, TheInstallLocationIsTheClientFolderAsGiven) {
  test::WriteFile(uninstaller_, "MZ");
  const std::wstring given = (dir_ / "Games" / "." / "Velmora").wstring();
  f_.context.clientFolder = given;
  ASSERT_TRUE(Register());
  EXPECT_EQ(Text(L"InstallLocation"), given);
}

TEST_F(ProgramsRegistryTest, NoWebsiteMeansNoAboutLink) {
  test::WriteFile(uninstaller_, "MZ");
  f_.profile.websiteUrl.clear();
  ASSERT_TRUE(Register());
  EXPECT_EQ(Values().count(L"URLInfoAbout"), 0u);
}

TEST_F(ProgramsRegistryTest, TheIconIsTheStartupProgramWhenItExists) {
  test::WriteFile(uninstaller_, "MZ");
  f_.profile.startupExe = L"patcher.exe";
  ASSERT_TRUE(Register());
  EXPECT_EQ(Text(L"DisplayIcon"), uninstaller_.wstring() + L",0");
  test::WriteFile(client_ / "patcher.exe", "MZ");
  ASSERT_TRUE(Register());
  EXPECT_EQ(Text(L"DisplayIcon"), (client_ / "patcher.exe").wstring() + L",0");
}

TEST_F(ProgramsRegistryTest, TheEstimatedSizeIsTheClientFolderInKibRoundedUp) {
  for (const auto& [bytes, kib] :
       {std::pair<std::size_t, std::uint32_t>{0, 0}, {1, 1}, {1024, 1}, {1025, 2}}) {
    SCOPED_TRACE(bytes);
    test::WriteFile(uninstaller_, std::string(bytes, 'u'));
    ASSERT_TRUE(Register());
    EXPECT_EQ(Number(L"EstimatedSize"), kib);
  }
  test::WriteFile(client_ / "data/a.pak", std::string(3000, 'a'));
  ASSERT_TRUE(Register());
  EXPECT_EQ(Number(L"EstimatedSize"), 4u);
}

TEST_F(ProgramsRegistryTest, WriteUninstallerWritesTheCarriedBytesOverAnOlderCopy) {
  test::WriteFile(uninstaller_, std::string(5000, 'o'));
  std::string bytes = "MZ";
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  bytes += std::string(3, '\0');
  platform::SetHostResource(platform::kUninstallerResourceId, bytes);
  ASSERT_TRUE(WriteUninstaller(f_.job));
  EXPECT_EQ(test::ReadFile(uninstaller_), bytes);
}

}  // namespace
