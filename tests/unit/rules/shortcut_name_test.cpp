#include "rules/shortcut_name.h"

#include <gtest/gtest.h>
#include "tests/layers.h"

namespace {

std::wstring NameFor(const std::wstring& shortcutName) {
  PackageProfile profile;
  profile.shortcutName = shortcutName;
  return ShortcutFileName(profile);
}

TEST(ShortcutFileName, AppendsLnkUnlessTheNameEndsSo) {
  EXPECT_EQ(NameFor(L"  "), L"Velmora.lnk");
  EXPECT_EQ(NameFor(L"Velmora Online"), L"Velmora Online.lnk");
  EXPECT_EQ(NameFor(L"Velmora Online 2.0"), L"Velmora Online 2.0.lnk");
  EXPECT_EQ(NameFor(L"Play.LnK"), L"Play.LnK");
  EXPECT_EQ(NameFor(L".lnk"), L".lnk.lnk");
  EXPECT_EQ(NameFor(L"Velmora: Online/EU"), L"Velmora_ Online_EU.lnk");
}

PackageProfile Names(const std::wstring& shortcutName, const std::wstring& downloaderName) {
  PackageProfile profile;
  profile.shortcutName = shortcutName;
  profile.downloaderName = downloaderName;
  return profile;
}

TEST(UninstallShortcutName, FallsBackToTheDownloaderNameThenVelmora) {
  EXPECT_EQ(UninstallShortcutName(Names(L"  Velmora Online ", L"Downloader")),
            L"Velmora Online.lnk");
  EXPECT_EQ(UninstallShortcutName(Names(L" \t", L" Velmora Downloader ")),
            L"Velmora Downloader.lnk");
  EXPECT_EQ(UninstallShortcutName(Names(L"", L"  ")), L"Velmora.lnk");
  EXPECT_EQ(UninstallShortcutName(Names(L"Play.LNK", L"")), L"Play.LNK");
  EXPECT_EQ(UninstallShortcutName(Names(L"", L"A\\B/C:D*E?F\"G<H>I|J")),
            L"A_B_C_D_E_F_G_H_I_J.lnk");
}

}  // namespace
