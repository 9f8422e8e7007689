#include "rules/programs_key.h"

#include <gtest/gtest.h>
#include "tests/layers.h"

namespace {

TEST(ProgramsKeyName, ReservedCharactersBecomeUnderscores) {
  PackageProfile profile;
  profile.programsDisplayName = L"Velmora: Online";
  EXPECT_EQ(ProgramsKeyName(profile), L"Parcelwright.Velmora_ Online");
  profile.programsDisplayName = L"<>|";
  EXPECT_EQ(ProgramsKeyName(profile), L"Parcelwright.___");
  profile.programsDisplayName = L"a\\b/c*d?e\"f";
  EXPECT_EQ(ProgramsKeyName(profile), L"Parcelwright.a_b_c_d_e_f");
}

TEST(ProgramsKeyName, FallsBackThroughTheDisplayNames) {
  PackageProfile profile;
  profile.programsDisplayName = L" \t";
  profile.shortcutName = L"  Tidewater  ";
  EXPECT_EQ(ProgramsEntryDisplayName(profile), L"Tidewater");
  EXPECT_EQ(ProgramsKeyName(profile), L"Parcelwright.Tidewater");
  profile.shortcutName = L"\r\n";
  profile.downloaderName = L" Tidewater Downloader ";
  EXPECT_EQ(ProgramsEntryDisplayName(profile), L"Tidewater Downloader");
  profile.downloaderName = L"";
  EXPECT_EQ(ProgramsEntryDisplayName(profile), L"Velmora");
  EXPECT_EQ(ProgramsKeyName(profile), L"Parcelwright.Velmora");
}

}  // namespace
