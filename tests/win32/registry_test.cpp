#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "profile/package_profile.h"
#include "repair/core/job.h"
#include "repair/system/programs_entry.h"
#include "rules/programs_key.h"
#include "tests/layers.h"

namespace fs = std::filesystem;

namespace {

const std::wstring kUninstallRoot = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::wstring LocalDateText() {
  SYSTEMTIME today = {};
  GetLocalTime(&today);
  wchar_t text[16] = {};
  swprintf(text, std::size(text), L"%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
  return text;
}

// Both the key and the client folder are unique, so parallel runs never meet.
class ProgramsRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring unique =
        std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(std::random_device()());
    client_ = fs::temp_directory_path() / (L"pw-registry-" + unique) / L"Velmora";
    fs::create_directories(client_);
    std::ofstream(client_ / L"Uninstall.exe", std::ios::binary) << std::string(1025, 'u');
    profile_.programsDisplayName = L"Velmora: Registry " + unique;
    profile_.programsPublisher = L"Tidewater Games";
    profile_.programsDisplayVersion = L"4.2.1";
    profile_.websiteUrl = L"https://velmora.example/";
    context_.clientFolder = client_.wstring();
    context_.exePath = (client_ / L"Fettle.exe").wstring();
    key_ = kUninstallRoot + ProgramsKeyName(profile_);
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
    std::error_code ignored;
    fs::remove_all(client_.parent_path(), ignored);
  }

  // The value's type and data exactly as stored, whatever its type.
  DWORD Type(const wchar_t* name) const {
    DWORD type = REG_NONE;
    if (RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type,
                     nullptr, nullptr) != ERROR_SUCCESS) {
      return REG_NONE;
    }
    return type;
  }
  std::wstring Text(const wchar_t* name) const {
    EXPECT_EQ(Type(name), static_cast<DWORD>(REG_SZ)) << name;
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr,
                     &size) != ERROR_SUCCESS) {
      return L"<missing>";
    }
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), name, RRF_RT_REG_SZ, nullptr, text.data(),
                     &size) != ERROR_SUCCESS) {
      return L"<unreadable>";
    }
    text.resize(size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
  }
  DWORD Number(const wchar_t* name) const {
    EXPECT_EQ(Type(name), static_cast<DWORD>(REG_DWORD)) << name;
    DWORD value = 0xDEADBEEF;
    DWORD size = sizeof(value);
    RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
  }

  fs::path client_;
  PackageProfile profile_;
  JobContext context_;
  RepairStatus status_;
  Job job_{profile_, context_, status_};
  std::wstring key_;
};

TEST_F(ProgramsRegistryTest, WritesEveryValueWithItsType) {
  std::wstring message;
  const std::wstring dayBefore = LocalDateText();
  ASSERT_TRUE(RegisterProgramsEntry(job_, message)) << message;
  const std::wstring dayAfter = LocalDateText();

  const std::wstring uninstaller = (client_ / L"Uninstall.exe").wstring();
  EXPECT_EQ(Text(L"DisplayName"), profile_.programsDisplayName);
  EXPECT_EQ(Text(L"Publisher"), L"Tidewater Games");
  EXPECT_EQ(Text(L"DisplayVersion"), L"4.2.1");
  EXPECT_EQ(Text(L"InstallLocation"), client_.wstring());
  EXPECT_EQ(Text(L"UninstallString"), L"\"" + uninstaller + L"\"");
  EXPECT_EQ(Text(L"DisplayIcon"), uninstaller + L",0");
  EXPECT_EQ(Text(L"URLInfoAbout"), L"https://velmora.example/");
  const std::wstring date = Text(L"InstallDate");
  EXPECT_TRUE(date == dayBefore || date == dayAfter) << date;
  EXPECT_EQ(Number(L"EstimatedSize"), 2u);
  EXPECT_EQ(Number(L"NoModify"), 1u);
  EXPECT_EQ(Number(L"NoRepair"), 1u);
}

TEST_F(ProgramsRegistryTest, ARefreshUpdatesTheEntry) {
  std::wstring message;
  ASSERT_TRUE(RegisterProgramsEntry(job_, message)) << message;
  std::ofstream(client_ / L"patcher.exe", std::ios::binary) << std::string(2048, 'p');
  profile_.startupExe = L"patcher.exe";
  profile_.programsDisplayVersion = L"4.3.0";
  ASSERT_TRUE(RegisterProgramsEntry(job_, message)) << message;
  EXPECT_EQ(Text(L"DisplayVersion"), L"4.3.0");
  EXPECT_EQ(Text(L"DisplayIcon"), (client_ / L"patcher.exe").wstring() + L",0");
  EXPECT_EQ(Number(L"EstimatedSize"), 4u);
}

}  // namespace
