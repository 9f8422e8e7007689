#include <gtest/gtest.h>

#include "repair/window/button_rules.h"
#include "repair/window/progress_view.h"

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

TEST(ButtonRules, PlacementsOfBothLayouts) {
  EXPECT_FALSE(ButtonPlacement(kPrimaryServerButton, false).placed);
  EXPECT_FALSE(ButtonPlacement(kReinstallButton, true).placed);
  const ButtonRect repair = ButtonPlacement(kRepairButton, false);
  EXPECT_EQ(repair.x, 92);
  EXPECT_EQ(repair.width, 188);
  const ButtonRect repairMulti = ButtonPlacement(kRepairButton, true);
  EXPECT_EQ(repairMulti.x, 342);
  EXPECT_EQ(repairMulti.y, 440);
  EXPECT_EQ(ButtonPlacement(kCloseTitleButton, true).x, 822);
}

TEST(ButtonRules, VisibilityByStateAndProfile) {
  PackageProfile profile;
  profile.startupExe = L"patcher.exe";
  EXPECT_TRUE(IsButtonShown(kRepairButton, profile, false));
  EXPECT_TRUE(IsButtonShown(kReinstallButton, profile, false));
  EXPECT_FALSE(IsButtonShown(kRetryButton, profile, false));
  EXPECT_FALSE(IsButtonShown(kWebsiteButton, profile, false));  // no URL
  EXPECT_TRUE(IsButtonShown(kShortcutButton, profile, false));
  // Failed: Retry and Close take the job buttons' place.
  EXPECT_FALSE(IsButtonShown(kRepairButton, profile, true));
  EXPECT_FALSE(IsButtonShown(kRunPatcherButton, profile, true));
  EXPECT_TRUE(IsButtonShown(kRetryButton, profile, true));
  EXPECT_TRUE(IsButtonShown(kCloseButton, profile, true));
  EXPECT_TRUE(IsButtonShown(kCloseTitleButton, profile, true));
  profile.discordUrl = L"https://discord.example";
  EXPECT_TRUE(IsButtonShown(kDiscordButton, profile, false));
  profile.showDiscord = false;
  EXPECT_FALSE(IsButtonShown(kDiscordButton, profile, false));
  profile.offerDesktopShortcut = false;
  EXPECT_FALSE(IsButtonShown(kShortcutButton, profile, false));
  profile.multiRepairTool = true;
  profile.archiveMirrorUrls = {L"https://mirror.example/c.zip"};
  EXPECT_TRUE(IsButtonShown(kMirrorServerButton, profile, false));
  EXPECT_FALSE(IsButtonShown(kReinstallButton, profile, false));
}

}  // namespace
