#include "profile/package_profile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "profile_keys.h"
#include "tests/layers.h"

namespace {

TEST(ParsePackageProfile, EmptyOrBlankTextGivesTheDefaults) {
  EXPECT_EQ(ParsePackageProfile(""), PackageProfile{});
  EXPECT_EQ(ParsePackageProfile("\n\r\n   \n\t\n"), PackageProfile{});
  EXPECT_EQ(ParsePackageProfile("format=Something.else.v9\n"), PackageProfile{});
  const PackageProfile defaults;
  EXPECT_TRUE(defaults.requireAdmin);
  EXPECT_FALSE(defaults.multiRepairTool);
  EXPECT_EQ(defaults.eacProductId.size(), 32u);
  EXPECT_EQ(defaults.eacProductId.find_first_not_of(L"0123456789abcdef"), std::wstring::npos);
}

TEST(ParsePackageProfile, EveryStringKeyReachesItsField) {
  std::string text;
#define LINE(key) text += #key "=value of " #key "\n";
  PROFILE_STRING_KEYS(LINE)
#undef LINE
  const PackageProfile profile = ParsePackageProfile(text);
#define CHECK_FIELD(key) EXPECT_EQ(profile.key, L"value of " #key);
  PROFILE_STRING_KEYS(CHECK_FIELD)
#undef CHECK_FIELD
}

TEST(ParsePackageProfile, EveryFlagKeyReachesItsField) {
  for (const char* value : {"1", "0"}) {
    std::string text;
#define LINE(key) text += #key "=" + std::string(value) + "\n";
    PROFILE_FLAG_KEYS(LINE)
#undef LINE
    const PackageProfile profile = ParsePackageProfile(text);
    const bool expected = value[0] == '1';
#define CHECK_FIELD(key) EXPECT_EQ(profile.key, expected) << #key;
    PROFILE_FLAG_KEYS(CHECK_FIELD)
#undef CHECK_FIELD
  }
}

TEST(ParsePackageProfile, FlagsAreTrueOnlyForThreeSpellings) {
  for (const char* yes : {"1", "true", "TRUE"}) {
    EXPECT_TRUE(ParsePackageProfile(std::string("multiRepairTool=") + yes).multiRepairTool) << yes;
  }
  for (const char* no : {"0", "True", "yes", "", " 1", "1 ", "\\1"}) {
    EXPECT_FALSE(ParsePackageProfile(std::string("requireAdmin=") + no).requireAdmin) << no;
  }
  EXPECT_TRUE(ParsePackageProfile("showLogo=0\nshowLogo=1\n").showLogo);
  EXPECT_FALSE(ParsePackageProfile("showLogo=1\nshowLogo=0\n").showLogo);
}

TEST(ParsePackageProfile, SplitsAtTheFirstUnescapedEquals) {
  EXPECT_EQ(ParsePackageProfile("archiveUrl=https://x.example/p?a=1&b=2").archiveUrl,
            L"https://x.example/p?a=1&b=2");
  // "\=" in the key scan is an escape pair: the key becomes "shortcutName\=x".
  const PackageProfile escapedKey = ParsePackageProfile("shortcutName\\=x=Other");
  EXPECT_EQ(escapedKey.shortcutName, L"Velmora");
  EXPECT_EQ(ParsePackageProfile("shortcutName=a\\=b").shortcutName, L"a\\=b");
}

TEST(ParsePackageProfile, KeysMatchByteForByte) {
  const PackageProfile profile =
      ParsePackageProfile("ShortcutName=A\n shortcutName=B\nshortcutName =C\n#shortcutName=D\n");
  EXPECT_EQ(profile.shortcutName, L"Velmora");
  EXPECT_EQ(ParsePackageProfile("shortcutName=A\nshortcutName=B\n").shortcutName, L"B");
}

TEST(ParsePackageProfile, ValuesKeepTheirBlanks) {
  EXPECT_EQ(ParsePackageProfile("shortcutName=  Vel mora \t").shortcutName, L"  Vel mora \t");
  EXPECT_EQ(ParsePackageProfile("shortcutName=").shortcutName, L"");
}

TEST(ParsePackageProfile, LineEndings) {
  const std::string lf = "shortcutName=A\ncompanyName=B\n";
  const std::string crlf = "shortcutName=A\r\ncompanyName=B\r\n";
  EXPECT_EQ(ParsePackageProfile(lf), ParsePackageProfile(crlf));
  EXPECT_EQ(ParsePackageProfile("shortcutName=A\r\r\n").shortcutName, L"A\r");
  EXPECT_EQ(ParsePackageProfile("shortcutName=A").shortcutName, L"A");
}

TEST(ParsePackageProfile, InvalidUtf8LoadsWithReplacementCharacters) {
  EXPECT_EQ(ParsePackageProfile("shortcutName=Vel\xFFmora\xC3").shortcutName,
            L"Vel\uFFFDmora\uFFFD");
  EXPECT_EQ(ParsePackageProfile("shortcutName=Assassin\xE2\x80\x99s").shortcutName,
            L"Assassin\u2019s");
}

TEST(UnescapeProfileValue, ResolvesTheFiveEscapes) {
  EXPECT_EQ(UnescapeProfileValue("D:\\\\Velmora"), L"D:\\Velmora");
  EXPECT_EQ(UnescapeProfileValue("a\\eb\\nc\\rd\\te"), L"a=b\nc\rd\te");
  EXPECT_EQ(UnescapeProfileValue("\\\\n"), L"\\n");
}

TEST(UnescapeProfileValue, KeepsUnknownPairsAndATrailingBackslash) {
  EXPECT_EQ(UnescapeProfileValue("C:\\Games"), L"C:\\Games");
  EXPECT_EQ(UnescapeProfileValue("a\\=b"), L"a\\=b");
  EXPECT_EQ(UnescapeProfileValue("ends\\"), L"ends\\");
  EXPECT_EQ(UnescapeProfileValue(""), L"");
}

TEST(SplitMirrorList, TrimsAndDropsEmptyEntries) {
  EXPECT_EQ(SplitMirrorList(L"  http://a.example/p.zip \n\t http://b.example/p.zip\r\n\n  \n"),
            (std::vector<std::wstring>{L"http://a.example/p.zip", L"http://b.example/p.zip"}));
  EXPECT_EQ(SplitMirrorList(L"x\nx"), (std::vector<std::wstring>{L"x", L"x"}));
  EXPECT_TRUE(SplitMirrorList(L"").empty());
}

TEST(ParsePackageProfile, MirrorListComesFromEscapedLineFeeds) {
  const PackageProfile profile = ParsePackageProfile(
      "archiveMirrorUrls= https://m1.example/c.zip \\n  https://m2.example/c.zip \\n\n");
  EXPECT_EQ(profile.archiveMirrorUrls,
            (std::vector<std::wstring>{L"https://m1.example/c.zip", L"https://m2.example/c.zip"}));
  EXPECT_TRUE(ParsePackageProfile("shortcutName=x").archiveMirrorUrls.empty());
}

std::string ReadResource(const char* name) {
  std::ifstream in(std::string(PARCELWRIGHT_RESOURCES_DIR "/profiles/") + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::set<std::string> KeysOf(const std::string& text) {
  std::set<std::string> keys;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (const auto equals = line.find('='); equals != std::string::npos) {
      keys.insert(line.substr(0, equals));
    }
  }
  return keys;
}

TEST(ShippedProfiles, PackageProfileSetsEveryKey) {
  const std::set<std::string> keys = KeysOf(ReadResource("package.profile"));
#define CHECK_KEY(key) EXPECT_TRUE(keys.count(#key)) << #key;
  PROFILE_STRING_KEYS(CHECK_KEY)
  PROFILE_FLAG_KEYS(CHECK_KEY)
#undef CHECK_KEY
  EXPECT_TRUE(keys.count("archiveMirrorUrls"));
  EXPECT_EQ(keys.size(), 58u);  // the 57 keys and the format line
}

TEST(ShippedProfiles, SampleSetsTheDefaultsLessNineKeys) {
  const std::string sample = ReadResource("sample.en-US.profile");
  const std::set<std::string> keys = KeysOf(sample);
  for (const char* omitted : {"archiveMirrorUrls", "eacProductId", "directXWebInstallerUrl",
                              "vcRedistX64Url", "installEac", "multiRepairTool", "requireAdmin",
                              "promptOnlineDirectX", "promptOnlineVcRedist"}) {
    EXPECT_FALSE(keys.count(omitted)) << omitted;
  }
  EXPECT_EQ(keys.size(), 49u);  // 57 - 9 keys and the format line
  PackageProfile expected;
  expected.startupExe = L"patcher.exe";
  EXPECT_EQ(ParsePackageProfile(sample), expected);
}

}  // namespace
