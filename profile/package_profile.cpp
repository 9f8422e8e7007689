#include "profile/package_profile.h"

#include <array>
#include <map>

#include "platform/text.h"
#include "profile/profile_lines.h"
#include "profile/trim.h"

namespace profile {

namespace {

using KeyKind = ProfileKeyKind;
using KeyEntry = ProfileKeyInfo;

constexpr KeyEntry Str(std::string_view key, std::wstring PackageProfile::*field) {
  return {key, KeyKind::String, field, nullptr};
}
constexpr KeyEntry Flag(std::string_view key, bool PackageProfile::*field) {
  return {key, KeyKind::Flag, nullptr, field};
}

using P = PackageProfile;

// Table order is the order in which the parser reads the keys.
constexpr std::array<KeyEntry, 57> kKeyTable = {{
    Str("downloaderName", &P::downloaderName),
    Str("downloaderVersion", &P::downloaderVersion),
    Str("welcomeTitle", &P::welcomeTitle),
    Str("welcomeBody", &P::welcomeBody),
    Str("installInstruction", &P::installInstruction),
    Str("defaultInstallPath", &P::defaultInstallPath),
    Str("packageMode", &P::packageMode),
    Str("archiveType", &P::archiveType),
    Str("archiveUrl", &P::archiveUrl),
    {"archiveMirrorUrls", KeyKind::MirrorList},
    Str("embeddedArchiveName", &P::embeddedArchiveName),
    Str("archiveSha256", &P::archiveSha256),
    Str("startupExe", &P::startupExe),
    Str("shortcutName", &P::shortcutName),
    Str("discordUrl", &P::discordUrl),
    Str("websiteUrl", &P::websiteUrl),
    Str("repairToolName", &P::repairToolName),
    Str("downloadTitle", &P::downloadTitle),
    Str("downloadSubtitle", &P::downloadSubtitle),
    Str("accentHex", &P::accentHex),
    Str("companyName", &P::companyName),
    Str("installerFileDescription", &P::installerFileDescription),
    Str("installerProductName", &P::installerProductName),
    Str("installerProductVersion", &P::installerProductVersion),
    Str("installerCopyright", &P::installerCopyright),
    Str("installerLanguage", &P::installerLanguage),
    Str("uninstallerFileDescription", &P::uninstallerFileDescription),
    Str("uninstallerProductName", &P::uninstallerProductName),
    Str("uninstallerProductVersion", &P::uninstallerProductVersion),
    Str("uninstallerCopyright", &P::uninstallerCopyright),
    Str("uninstallerLanguage", &P::uninstallerLanguage),
    Str("programsDisplayName", &P::programsDisplayName),
    Str("programsPublisher", &P::programsPublisher),
    Str("programsDisplayVersion", &P::programsDisplayVersion),
    Str("repairFileDescription", &P::repairFileDescription),
    Str("repairProductName", &P::repairProductName),
    Str("repairProductVersion", &P::repairProductVersion),
    Str("repairCopyright", &P::repairCopyright),
    Str("repairLanguage", &P::repairLanguage),
    Str("vcRedistMinVersion", &P::vcRedistMinVersion),
    Str("eacProductId", &P::eacProductId),
    Str("directXWebInstallerUrl", &P::directXWebInstallerUrl),
    Str("vcRedistX64Url", &P::vcRedistX64Url),
    Flag("showLogo", &P::showLogo),
    Flag("showWelcomeText", &P::showWelcomeText),
    Flag("showDownloadText", &P::showDownloadText),
    Flag("showDiscord", &P::showDiscord),
    Flag("runAfterInstall", &P::runAfterInstall),
    Flag("offerDesktopShortcut", &P::offerDesktopShortcut),
    Flag("cleanupArchive", &P::cleanupArchive),
    Flag("installRepairTool", &P::installRepairTool),
    Flag("installPrerequisites", &P::installPrerequisites),
    Flag("installEac", &P::installEac),
    Flag("multiRepairTool", &P::multiRepairTool),
    Flag("requireAdmin", &P::requireAdmin),
    Flag("promptOnlineDirectX", &P::promptOnlineDirectX),
    Flag("promptOnlineVcRedist", &P::promptOnlineVcRedist),
}};

// Raw values by key; a later line of the same key wins.
std::map<std::string_view, std::string_view> ValuesByKey(std::string_view text) {
  std::map<std::string_view, std::string_view> pairs;
  for (const ProfileLine& line : ScanProfileLines(text))
    pairs.insert_or_assign(line.key, line.value);
  return pairs;
}

}  // namespace

bool IsTrueSpelling(std::string_view raw) {
  return raw == "1" || raw == "true" || raw == "TRUE";
}

std::span<const ProfileKeyInfo> ProfileKeyTable() {
  return kKeyTable;
}

std::wstring UnescapeProfileValue(std::string_view raw) {
  std::string bytes;
  bytes.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '\\' || i + 1 == raw.size()) {
      bytes += raw[i];
      continue;
    }
    switch (raw[i + 1]) {
      case '\\': bytes += '\\'; break;
      case 'e': bytes += '='; break;
      case 'n': bytes += '\n'; break;
      case 'r': bytes += '\r'; break;
      case 't': bytes += '\t'; break;
      default:
        bytes += raw[i];
        bytes += raw[i + 1];
        break;
    }
    ++i;
  }
  return platform::Utf8ToWide(bytes);
}

std::vector<std::wstring> SplitMirrorList(std::wstring_view text) {
  std::vector<std::wstring> urls;
  std::size_t start = 0;
  while (start <= text.size()) {
    const auto end = text.find(L'\n', start);
    std::wstring_view piece =
        text.substr(start, end == std::wstring_view::npos ? end : end - start);
    if (!piece.empty() && piece.back() == L'\r') piece.remove_suffix(1);
    std::wstring url = TrimWhitespace(piece);
    if (!url.empty()) urls.push_back(std::move(url));
    if (end == std::wstring_view::npos) break;
    start = end + 1;
  }
  return urls;
}

PackageProfile ParsePackageProfile(std::string_view text) {
  PackageProfile profile;
  const auto pairs = ValuesByKey(text);
  for (const KeyEntry& entry : kKeyTable) {
    const auto found = pairs.find(entry.key);
    switch (entry.kind) {
      case KeyKind::String:
        if (found != pairs.end()) profile.*entry.text = UnescapeProfileValue(found->second);
        break;
      case KeyKind::MirrorList:
        profile.archiveMirrorUrls = SplitMirrorList(
            UnescapeProfileValue(found == pairs.end() ? std::string_view{} : found->second));
        break;
      case KeyKind::Flag:
        if (found != pairs.end()) profile.*entry.flag = IsTrueSpelling(found->second);
        break;
    }
  }
  return profile;
}

}  // namespace profile
