#include "repair/view/button_rules.h"

namespace repair {

bool IsMultiServerMode(const profile::PackageProfile& profile) {
  return profile.multiRepairTool && !profile.archiveMirrorUrls.empty();
}

ButtonRect ButtonPlacement(ButtonId id, bool multiServer) {
  switch (id) {
    case ButtonId::PrimaryServer:
      return multiServer ? ButtonRect{112, 396, 300, 34, true} : ButtonRect{};
    case ButtonId::MirrorServer:
      return multiServer ? ButtonRect{448, 396, 300, 34, true} : ButtonRect{};
    case ButtonId::Repair:
      return multiServer ? ButtonRect{342, 440, 176, 42, true} : ButtonRect{92, 396, 188, 44, true};
    case ButtonId::Reinstall:
      return multiServer ? ButtonRect{} : ButtonRect{298, 396, 188, 44, true};
    case ButtonId::Shortcut:
      return multiServer ? ButtonRect{178, 486, 220, 28, true}
                         : ButtonRect{504, 396, 180, 44, true};
    case ButtonId::RunPatcher:
      return multiServer ? ButtonRect{462, 486, 176, 28, true}
                         : ButtonRect{342, 456, 176, 42, true};
    case ButtonId::Retry: return {244, 396, 176, 44, true};
    case ButtonId::Close: return {440, 396, 176, 44, true};
    case ButtonId::Website: return {24, 516, 110, 30, true};
    case ButtonId::Discord: return {142, 516, 110, 30, true};
    case ButtonId::Minimise: return {792, 10, 28, 28, true};
    case ButtonId::CloseTitle: return {822, 10, 28, 28, true};
    default: return {};
  }
}

bool IsButtonShown(ButtonId id, const profile::PackageProfile& profile, bool failed) {
  const bool multiServer = IsMultiServerMode(profile);
  switch (id) {
    case ButtonId::Repair: return !failed;
    case ButtonId::PrimaryServer:
    case ButtonId::MirrorServer: return !failed && multiServer;
    case ButtonId::Reinstall: return !failed && !multiServer;
    case ButtonId::Retry:
    case ButtonId::Close: return failed;
    case ButtonId::Website: return !profile.websiteUrl.empty();
    case ButtonId::Discord: return profile.showDiscord && !profile.discordUrl.empty();
    case ButtonId::Shortcut:
      return !failed && profile.offerDesktopShortcut && !profile.startupExe.empty();
    case ButtonId::RunPatcher: return !failed && !profile.startupExe.empty();
    case ButtonId::Minimise:
    case ButtonId::CloseTitle: return true;
    default: return false;
  }
}

}  // namespace repair
