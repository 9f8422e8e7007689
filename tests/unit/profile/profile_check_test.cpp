#include "profile/profile_check.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include "tests/layers.h"

namespace {

constexpr std::string_view kGood =
    "format=Parcelwright.v1\n"
    "archiveUrl=https://cdn.example/client.zip\n";

std::string WithLine(std::string_view line) {
  return std::string(kGood) + std::string(line);
}

// The one finding of `text`, as "line key error|warning message".
std::string Only(const std::string& text, ProfileRole role = ProfileRole::Package) {
  const auto findings = CheckProfile(text, role);
  if (findings.size() != 1) return std::to_string(findings.size()) + " findings";
  const ProfileFinding& f = findings.front();
  return std::to_string(f.line) + " " + f.key + " " + (f.error ? "error " : "warning ") + f.message;
}

TEST(CheckProfile, AGoodProfileHasNoFindings) {
  EXPECT_TRUE(CheckProfile(kGood, ProfileRole::Package).empty());
  EXPECT_TRUE(CheckProfile("format=Parcelwright.v1\r\narchiveUrl= https://c.example/a.zip \r\n"
                           "offerDesktopShortcut=FALSE\nshowLogo=\naccentHex=#ffa640\n"
                           "archiveSha256= " +
                               std::string(64, 'A') + "\n",
                           ProfileRole::Package)
                  .empty());
}

TEST(CheckProfile, FormatLineMustComeFirst) {
  EXPECT_EQ(Only("archiveUrl=https://c.example/a.zip\nformat=Parcelwright.v1\n"),
            "1 format error the first line must be 'format=Parcelwright.v1'");
  EXPECT_EQ(Only("format=Parcelwright.v2\narchiveUrl=https://c.example/a.zip\n"),
            "1 format error the first line must be 'format=Parcelwright.v1'");
}

TEST(CheckProfile, UnknownKeyNamesTheClosestKnownOne) {
  EXPECT_EQ(Only(WithLine("archiveURL=https://c.example/b.zip\n")),
            "3 archiveURL error unknown key; did you mean 'archiveUrl'?");
  EXPECT_EQ(ClosestProfileKey("Format"), "format");
  EXPECT_EQ(ClosestProfileKey("offerDesktopShortcuts"), "offerDesktopShortcut");
}

TEST(CheckProfile, FlagSpellings) {
  EXPECT_EQ(Only(WithLine("offerDesktopShortcut=yes\n")),
            "3 offerDesktopShortcut error flag value 'yes' is not one of 1, true, TRUE, 0, "
            "false, FALSE or empty");
  EXPECT_EQ(Only(WithLine("showLogo=1 \n")).substr(0, 19), "3 showLogo error fl");
}

TEST(CheckProfile, PackageUrls) {
  EXPECT_EQ(Only("format=Parcelwright.v1\narchiveUrl=  \n"),
            "2 archiveUrl error empty: the repair tool would have no package to download");
  EXPECT_EQ(Only("format=Parcelwright.v1\n"),
            "0 archiveUrl error not set: the repair tool would have no package to download");
  EXPECT_EQ(Only("format=Parcelwright.v1\narchiveUrl=ftp://c.example/a.zip\n"),
            "2 archiveUrl error URL 'ftp://c.example/a.zip' does not start with http:// or "
            "https://");
  EXPECT_EQ(Only(WithLine("archiveMirrorUrls=https://m.example/a.zip\\n HTTPS://n.example/\n")),
            "3 archiveMirrorUrls error mirror URL 'HTTPS://n.example/' does not start with "
            "http:// or https://");
}

TEST(CheckProfile, TheSampleMayLeaveTheUrlEmpty) {
  EXPECT_TRUE(CheckProfile("format=Parcelwright.v1\narchiveUrl=\n", ProfileRole::Sample).empty());
  EXPECT_TRUE(CheckProfile("format=Parcelwright.v1\n", ProfileRole::Sample).empty());
  EXPECT_EQ(Only("format=Parcelwright.v1\nshowlogo=1\n", ProfileRole::Sample),
            "2 showlogo error unknown key; did you mean 'showLogo'?");
}

TEST(CheckProfile, HashNeeds64DigitsAfterNormalizing) {
  EXPECT_EQ(Only(WithLine("archiveSha256=" + std::string(63, 'a') + "\n")),
            "3 archiveSha256 error has 63 hex digits; a SHA-256 has 64 (or leave it blank for "
            "no check)");
  // "sha256:" brings four digits of its own, as the download's check would read it.
  EXPECT_EQ(Only(WithLine("archiveSha256=sha256:" + std::string(64, 'a') + "\n")).substr(0, 24),
            "3 archiveSha256 error ha");
}

TEST(CheckProfile, AccentIsSixHexDigits) {
  EXPECT_EQ(
      Only(WithLine("accentHex=#12345G\n")),
      "3 accentHex error '#12345G' is not six hex digits RRGGBB (with an optional leading #)");
  EXPECT_EQ(Only(WithLine("accentHex=#12345\n")).substr(0, 17), "3 accentHex error");
  EXPECT_TRUE(CheckProfile(WithLine("accentHex=FFA640\n"), ProfileRole::Package).empty());
}

TEST(CheckProfile, PlainHttpWithoutHashIsAWarning) {
  const std::string plain = "format=Parcelwright.v1\narchiveUrl=http://127.0.0.1/a.zip\n";
  EXPECT_EQ(Only(plain),
            "2 archiveUrl warning plain http:// URL 'http://127.0.0.1/a.zip' without "
            "archiveSha256: the package is not authenticated");
  EXPECT_TRUE(
      CheckProfile(plain + "archiveSha256=" + std::string(64, '0') + "\n", ProfileRole::Package)
          .empty());
}

std::string ReadResource(const char* name) {
  std::ifstream in(std::string(PARCELWRIGHT_RESOURCES_DIR "/profiles/") + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(CheckProfile, ShippedProfilesPass) {
  EXPECT_TRUE(CheckProfile(ReadResource("package.profile"), ProfileRole::Package).empty());
  EXPECT_TRUE(CheckProfile(ReadResource("sample.en-US.profile"), ProfileRole::Sample).empty());
}

}  // namespace
