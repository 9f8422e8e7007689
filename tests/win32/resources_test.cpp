#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/resources.h"
#include "profile/package_profile.h"
#include "tests/layers.h"
#include "unix_path.h"

namespace {

std::string ReadFileBytes(const char* unixPath) {
  std::ifstream in(std::filesystem::path(UnixPathToWine(unixPath)), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::wstring ProgramPath(const wchar_t* name) {
  return UnixPathToWine(PARCELWRIGHT_BIN_DIR) + L"\\" + name;
}

// A built program loaded for its resources only.
class ResourceImage {
 public:
  explicit ResourceImage(const std::wstring& path)
      : module_(LoadLibraryExW(path.c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
  ~ResourceImage() {
    if (module_) FreeLibrary(module_);
  }
  ResourceImage(const ResourceImage&) = delete;
  ResourceImage& operator=(const ResourceImage&) = delete;

  HMODULE get() const { return module_; }
  platform::ModuleRef ref() const { return {module_}; }

  std::string Bytes(LPCWSTR type, int id, WORD language) const {
    HRSRC info = FindResourceExW(module_, type, MAKEINTRESOURCEW(id), language);
    if (!info) return {};
    const void* data = LockResource(LoadResource(module_, info));
    return data ? std::string(static_cast<const char*>(data), SizeofResource(module_, info))
                : std::string();
  }

 private:
  HMODULE module_;
};

const WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
const WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

class BuiltProgram : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(BuiltProgram, ProfileLookupYieldsThePackageCopyWhateverTheUiLanguage) {
  const ResourceImage image(ProgramPath(GetParam()));
  ASSERT_TRUE(image.get());
  const std::string package = ReadFileBytes(PARCELWRIGHT_PROFILE_FILE);
  const std::string sample = ReadFileBytes(PARCELWRIGHT_SAMPLE_PROFILE_FILE);
  ASSERT_NE(package, sample);
  // Both copies are embedded, each under its own language.
  EXPECT_EQ(image.Bytes(RT_RCDATA, 201, kNeutral), package);
  EXPECT_EQ(image.Bytes(RT_RCDATA, 201, kEnglishUs), sample);

  for (const wchar_t* language : {L"en-US\0", L"de-DE\0", L"ja-JP\0"}) {
    ASSERT_TRUE(SetThreadPreferredUILanguages(MUI_LANGUAGE_NAME, language, nullptr));
    SetThreadUILanguage(LANGIDFROMLCID(LocaleNameToLCID(language, 0)));
    PackageProfile profile;
    ASSERT_TRUE(LoadPackageProfile(image.ref(), profile)) << language;
    EXPECT_EQ(profile, ParsePackageProfile(package)) << language;
  }
  SetThreadPreferredUILanguages(0, nullptr, nullptr);
}

TEST_P(BuiltProgram, CarriesIconAndManifest) {
  const ResourceImage image(ProgramPath(GetParam()));
  ASSERT_TRUE(image.get());
  EXPECT_TRUE(FindResourceW(image.get(), MAKEINTRESOURCEW(101), RT_GROUP_ICON));
  const std::string manifest = image.Bytes(RT_MANIFEST, 1, kNeutral);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find(">true</longPathAware>"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Programs, BuiltProgram,
                         ::testing::Values(L"Fettle.exe", L"Uninstall.exe"));

TEST(FettleResources, EmbedsTheBuiltUninstallerByteForByte) {
  const ResourceImage fettle(ProgramPath(L"Fettle.exe"));
  std::string embedded;
  ASSERT_TRUE(platform::ReadRcData(fettle.ref(), platform::kUninstallerResourceId, embedded));
  const std::string built = ReadFileBytes(PARCELWRIGHT_BIN_DIR "/Uninstall.exe");
  ASSERT_GT(built.size(), 1000u);
  EXPECT_TRUE(embedded == built) << "embedded " << embedded.size() << " bytes, built "
                                 << built.size();
}

TEST(FettleResources, CarriesThePublisherImages) {
  const ResourceImage fettle(ProgramPath(L"Fettle.exe"));
  std::string bytes;
  ASSERT_TRUE(platform::ReadRcData(fettle.ref(), platform::kLogoResourceId, bytes));
  EXPECT_TRUE(bytes == ReadFileBytes(PARCELWRIGHT_LOGO_FILE));
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
  ASSERT_TRUE(platform::ReadRcData(fettle.ref(), platform::kBackgroundResourceId, bytes));
  EXPECT_TRUE(bytes == ReadFileBytes(PARCELWRIGHT_BACKGROUND_FILE));
  EXPECT_FALSE(platform::ReadRcData(fettle.ref(), platform::kUninstallBackgroundResourceId, bytes));
}

TEST(UninstallResources, CarriesItsBackgroundAndNothingOfTheRepairTool) {
  const ResourceImage uninstall(ProgramPath(L"Uninstall.exe"));
  std::string bytes;
  ASSERT_TRUE(
      platform::ReadRcData(uninstall.ref(), platform::kUninstallBackgroundResourceId, bytes));
  EXPECT_TRUE(bytes == ReadFileBytes(PARCELWRIGHT_UNINSTALL_BACKGROUND_FILE));
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xD8");
  for (int id : {platform::kLogoResourceId, platform::kUninstallerResourceId,
                 platform::kBackgroundResourceId}) {
    EXPECT_FALSE(platform::ReadRcData(uninstall.ref(), id, bytes)) << id;
  }
}

// The version block of a built program, read as Windows Explorer reads it.
class VersionBlock {
 public:
  explicit VersionBlock(const std::wstring& path) {
    DWORD ignored = 0;
    data_.resize(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    if (!data_.empty() &&
        !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data_.size()), data_.data())) {
      data_.clear();
    }
  }
  bool ok() const { return !data_.empty(); }
  std::wstring String(const wchar_t* name) const {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(data_.data(), query.c_str(), &value, &length) || length == 0) return {};
    return std::wstring(static_cast<const wchar_t*>(value), length - 1);
  }
  const VS_FIXEDFILEINFO* Fixed() const {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data_.data(), L"\\", &value, &length)) return nullptr;
    return static_cast<const VS_FIXEDFILEINFO*>(value);
  }
  DWORD Translation() const {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", &value, &length)) return 0;
    return *static_cast<const DWORD*>(value);
  }

 private:
  std::vector<char> data_;
};

void ExpectVersion200(const VersionBlock& block) {
  const VS_FIXEDFILEINFO* fixed = block.Fixed();
  ASSERT_TRUE(fixed);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00020000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00020000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(block.String(L"FileVersion"), L"2.0.0");
  EXPECT_EQ(block.Translation(), MAKELONG(0x0409, 1200));
}

TEST(VersionBlocks, AreStampedFromTheProfile) {
  const PackageProfile profile = ParsePackageProfile(ReadFileBytes(PARCELWRIGHT_PROFILE_FILE));
  const VersionBlock fettle(ProgramPath(L"Fettle.exe"));
  ASSERT_TRUE(fettle.ok());
  ExpectVersion200(fettle);
  EXPECT_EQ(fettle.String(L"CompanyName"), profile.companyName);
  EXPECT_EQ(fettle.String(L"FileDescription"), profile.repairFileDescription);
  EXPECT_EQ(fettle.String(L"ProductName"), profile.repairProductName);
  EXPECT_EQ(fettle.String(L"ProductVersion"), profile.repairProductVersion);
  EXPECT_EQ(fettle.String(L"LegalCopyright"), profile.repairCopyright);
  EXPECT_EQ(fettle.String(L"InternalName"), profile.repairToolName);
  EXPECT_EQ(fettle.String(L"OriginalFilename"), profile.repairToolName);

  const VersionBlock uninstall(ProgramPath(L"Uninstall.exe"));
  ASSERT_TRUE(uninstall.ok());
  ExpectVersion200(uninstall);
  EXPECT_EQ(uninstall.String(L"CompanyName"), profile.companyName);
  EXPECT_EQ(uninstall.String(L"FileDescription"), profile.uninstallerFileDescription);
  EXPECT_EQ(uninstall.String(L"ProductName"), profile.uninstallerProductName);
  EXPECT_EQ(uninstall.String(L"ProductVersion"), profile.uninstallerProductVersion);
  EXPECT_EQ(uninstall.String(L"LegalCopyright"), profile.uninstallerCopyright);
  EXPECT_EQ(uninstall.String(L"InternalName"), L"Uninstall.exe");
}

}  // namespace
