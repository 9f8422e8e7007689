#include <gtest/gtest.h>

#include <vector>

#include "repair/view/button_rules.h"
#include "repair/view/progress_view.h"
#include "tests/layers.h"

namespace {

TEST(ProgressView, PercentAndFillByStage) {
  StatusSnapshot s;
  s.stage = JobStage::Installing;
  s.filesTotal = 120;
  s.filesDone = 37;
  EXPECT_EQ(ProgressFillWidth(ProgressPercent(s)), 194);
  s.filesTotal = 0;
  EXPECT_EQ(ProgressPercent(s), 0.0);
  s = {};
  s.stage = JobStage::Downloading;
  s.bytesDone = 300;
  EXPECT_EQ(ProgressPercent(s), 0.0);  // size unknown
  s.bytesTotal = 200;                  // more than announced still fills only the bar
  EXPECT_EQ(ProgressPercent(s), 100.0);
  for (JobStage full : {JobStage::Verifying, JobStage::Extracting, JobStage::Complete}) {
    s.stage = full;
    EXPECT_EQ(ProgressFillWidth(ProgressPercent(s)), 630);
  }
  for (JobStage empty : {JobStage::Idle, JobStage::Failed}) {
    s.stage = empty;
    EXPECT_EQ(ProgressPercent(s), 0.0);
  }
}

TEST(ProgressView, LineCarriesSpeedOrFileCount) {
  StatusSnapshot s;
  s.statusLine = L"";
  EXPECT_EQ(ProgressLineText(s), L"Ready.");
  s.stage = JobStage::Downloading;
  s.statusLine = L"Downloading client package...";
  EXPECT_EQ(ProgressLineText(s), L"Downloading client package...  0 MB/s");
  s.bytesPerSecond = 1572864.7;
  EXPECT_EQ(ProgressLineText(s), L"Downloading client package...  1.5 MB/s");
  s.stage = JobStage::Installing;
  s.statusLine = L"Verifying client files...";
  s.filesTotal = 120;
  s.filesDone = 37;
  EXPECT_EQ(ProgressLineText(s), L"Verifying client files...  37/120 files");
  s.stage = JobStage::Complete;
  s.statusLine = L"Repair complete.";
  EXPECT_EQ(ProgressLineText(s), L"Repair complete.");
}

TEST(ButtonRules, MultiServerModeNeedsTheFlagAndAMirror) {
  PackageProfile profile;
  profile.multiRepairTool = true;
  EXPECT_FALSE(IsMultiServerMode(profile));
  profile.archiveMirrorUrls = {L"https://mirror.example/c.zip"};
  EXPECT_TRUE(IsMultiServerMode(profile));
  profile.multiRepairTool = false;
  EXPECT_FALSE(IsMultiServerMode(profile));
}

// In each layout every placed button lies inside the window and no two of those shown
// together overlap; the server choices exist only with two servers.
TEST(ButtonRules, PlacementsOfBothLayoutsFitAndNeverOverlap) {
  EXPECT_FALSE(ButtonPlacement(ButtonId::PrimaryServer, false).placed);
  EXPECT_FALSE(ButtonPlacement(ButtonId::Reinstall, true).placed);
  for (const bool multiServer : {false, true}) {
    for (const bool failed : {false, true}) {
      std::vector<ButtonRect> shown;
      for (const ButtonLabel& button : kButtons) {
        const ButtonRect r = ButtonPlacement(button.id, multiServer);
        const bool visible =
            button.id == ButtonId::Retry || button.id == ButtonId::Close
                ? failed
                : !failed || button.id == ButtonId::Website || button.id == ButtonId::Discord ||
                      button.id == ButtonId::Minimise || button.id == ButtonId::CloseTitle;
        if (!r.placed || !visible) continue;
        EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.width <= 860 && r.y + r.height <= 560)
            << static_cast<int>(button.id);
        for (const ButtonRect& o : shown) {
          const bool apart = r.x + r.width <= o.x || o.x + o.width <= r.x ||
                             r.y + r.height <= o.y || o.y + o.height <= r.y;
          EXPECT_TRUE(apart) << static_cast<int>(button.id) << " multi " << multiServer;
        }
        shown.push_back(r);
      }
    }
  }
}

TEST(ButtonRules, VisibilityByStateAndProfile) {
  PackageProfile profile;
  profile.startupExe = L"patcher.exe";
  EXPECT_TRUE(IsButtonShown(ButtonId::Repair, profile, false));
  EXPECT_TRUE(IsButtonShown(ButtonId::Reinstall, profile, false));
  EXPECT_FALSE(IsButtonShown(ButtonId::Retry, profile, false));
  EXPECT_FALSE(IsButtonShown(ButtonId::Website, profile, false));  // no URL
  EXPECT_TRUE(IsButtonShown(ButtonId::Shortcut, profile, false));
  // Failed: Retry and Close take the job buttons' place.
  EXPECT_FALSE(IsButtonShown(ButtonId::Repair, profile, true));
  EXPECT_FALSE(IsButtonShown(ButtonId::RunPatcher, profile, true));
  EXPECT_TRUE(IsButtonShown(ButtonId::Retry, profile, true));
  EXPECT_TRUE(IsButtonShown(ButtonId::Close, profile, true));
  EXPECT_TRUE(IsButtonShown(ButtonId::CloseTitle, profile, true));
  profile.discordUrl = L"https://discord.example";
  EXPECT_TRUE(IsButtonShown(ButtonId::Discord, profile, false));
  profile.showDiscord = false;
  EXPECT_FALSE(IsButtonShown(ButtonId::Discord, profile, false));
  profile.offerDesktopShortcut = false;
  EXPECT_FALSE(IsButtonShown(ButtonId::Shortcut, profile, false));
  profile.multiRepairTool = true;
  profile.archiveMirrorUrls = {L"https://mirror.example/c.zip"};
  EXPECT_TRUE(IsButtonShown(ButtonId::MirrorServer, profile, false));
  EXPECT_FALSE(IsButtonShown(ButtonId::Reinstall, profile, false));
}

}  // namespace
