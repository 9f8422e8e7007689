#include "repair/window/button_rules.h"

bool IsMultiServerMode(const PackageProfile& profile) {
  return profile.multiRepairTool && !profile.archiveMirrorUrls.empty();
}

ButtonRect ButtonPlacement(int id, bool multiServer) {
  switch (id) {
    case kPrimaryServerButton:
      return multiServer ? ButtonRect{112, 396, 300, 34, true} : ButtonRect{};
    case kMirrorServerButton:
      return multiServer ? ButtonRect{448, 396, 300, 34, true} : ButtonRect{};
    case kRepairButton:
      return multiServer ? ButtonRect{342, 440, 176, 42, true} : ButtonRect{92, 396, 188, 44, true};
    case kReinstallButton:
      return multiServer ? ButtonRect{} : ButtonRect{298, 396, 188, 44, true};
    case kShortcutButton:
      return multiServer ? ButtonRect{178, 486, 220, 28, true}
                         : ButtonRect{504, 396, 180, 44, true};
    case kRunPatcherButton:
      return multiServer ? ButtonRect{462, 486, 176, 28, true}
                         : ButtonRect{342, 456, 176, 42, true};
    case kRetryButton:
      return {244, 396, 176, 44, true};
    case kCloseButton:
      return {440, 396, 176, 44, true};
    case kWebsiteButton:
      return {24, 516, 110, 30, true};
    case kDiscordButton:
      return {142, 516, 110, 30, true};
    case kMinimiseButton:
      return {792, 10, 28, 28, true};
    case kCloseTitleButton:
      return {822, 10, 28, 28, true};
    default:
      return {};
  }
}

bool IsButtonShown(int id, const PackageProfile& profile, bool failed) {
  const bool multiServer = IsMultiServerMode(profile);
  switch (id) {
    case kRepairButton:
      return !failed;
    case kPrimaryServerButton:
    case kMirrorServerButton:
      return !failed && multiServer;
    case kReinstallButton:
      return !failed && !multiServer;
    case kRetryButton:
    case kCloseButton:
      return failed;
    case kWebsiteButton:
      return !profile.websiteUrl.empty();
    case kDiscordButton:
      return profile.showDiscord && !profile.discordUrl.empty();
    case kShortcutButton:
      return !failed && profile.offerDesktopShortcut && !profile.startupExe.empty();
    case kRunPatcherButton:
      return !failed && !profile.startupExe.empty();
    case kMinimiseButton:
    case kCloseTitleButton:
      return true;
    default:
      return false;
  }
}
