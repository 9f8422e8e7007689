#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/resources.h"

namespace profile {

// The package profile: one field per profile key, named as the key, in key-table order.
struct PackageProfile {
  std::wstring downloaderName = L"Velmora Downloader";
  std::wstring downloaderVersion = L"v2.0.0";
  std::wstring welcomeTitle = L"WELCOME TO VELMORA";
  std::wstring welcomeBody;
  std::wstring installInstruction;
  std::wstring defaultInstallPath = L"D:\\Velmora";
  std::wstring packageMode = L"download";
  std::wstring archiveType = L"zip";
  std::wstring archiveUrl;
  std::vector<std::wstring> archiveMirrorUrls;
  std::wstring embeddedArchiveName;
  std::wstring archiveSha256;
  std::wstring startupExe;
  std::wstring shortcutName = L"Velmora";
  std::wstring discordUrl;
  std::wstring websiteUrl;
  std::wstring repairToolName = L"VlmQuorvinInstaller.exe";
  std::wstring downloadTitle = L"DOWNLOAD & INSTALL";
  std::wstring downloadSubtitle;
  std::wstring accentHex = L"FFA640";
  std::wstring companyName = L"By Quorvin";
  std::wstring installerFileDescription = L"Velmora Downloader";
  std::wstring installerProductName = L"Velmora Downloader";
  std::wstring installerProductVersion = L"2.0.0";
  std::wstring installerCopyright;
  std::wstring installerLanguage = L"0409";
  std::wstring uninstallerFileDescription = L"Velmora Uninstaller";
  std::wstring uninstallerProductName = L"Velmora Uninstaller";
  std::wstring uninstallerProductVersion = L"2.0.0";
  std::wstring uninstallerCopyright;
  std::wstring uninstallerLanguage = L"0409";
  std::wstring programsDisplayName = L"Velmora";
  std::wstring programsPublisher = L"Quorvin";
  std::wstring programsDisplayVersion = L"2.0.0";
  std::wstring repairFileDescription = L"VlmQuorvinInstaller";
  std::wstring repairProductName = L"VlmQuorvinInstaller";
  std::wstring repairProductVersion = L"2.0.0";
  std::wstring repairCopyright;
  std::wstring repairLanguage = L"0409";
  std::wstring vcRedistMinVersion;
  std::wstring eacProductId = L"7f3a9c2e5d8b41f6a0c4e9d2b7f15a38";
  std::wstring directXWebInstallerUrl =
      L"https://download.microsoft.com/download/1/7/1/1718CCC4-6315-4D8E-9543-8E28A4E18C4C/"
      L"dxwebsetup.exe";
  std::wstring vcRedistX64Url = L"https://aka.ms/vs/17/release/vc_redist.x64.exe";
  bool showLogo = true;
  bool showWelcomeText = true;
  bool showDownloadText = true;
  bool showDiscord = true;
  bool runAfterInstall = true;
  bool offerDesktopShortcut = true;
  bool cleanupArchive = true;
  bool installRepairTool = true;
  bool installPrerequisites = false;
  bool installEac = false;
  bool multiRepairTool = false;
  bool requireAdmin = true;
  bool promptOnlineDirectX = false;
  bool promptOnlineVcRedist = false;

  bool operator==(const PackageProfile&) const = default;
};

enum class ProfileKeyKind { String, MirrorList, Flag };

// A key of the format and the field it fills (`text` for strings, `flag` for flags; the mirror
// list is `archiveMirrorUrls`).
struct ProfileKeyInfo {
  std::string_view key;
  ProfileKeyKind kind;
  std::wstring PackageProfile::*text = nullptr;
  bool PackageProfile::*flag = nullptr;
};

// Every key of the record, in the order the parser reads them (`format` is not among them).
[[nodiscard]] std::span<const ProfileKeyInfo> ProfileKeyTable();

// Whether a raw flag value reads as true: exactly "1", "true" or "TRUE".
[[nodiscard]] bool IsTrueSpelling(std::string_view raw);

// Built-in defaults with the profile text laid over them. Never fails: malformed lines are
// skipped, unknown keys ignored, bad flags read as false.
[[nodiscard]] PackageProfile ParsePackageProfile(std::string_view text);

// Resolves the backslash escapes of a raw value, then converts UTF-8 to UTF-16 (invalid
// sequences become U+FFFD).
[[nodiscard]] std::wstring UnescapeProfileValue(std::string_view raw);

// Splits at LF; each piece loses one trailing CR and its blanks; empty pieces are dropped.
[[nodiscard]] std::vector<std::wstring> SplitMirrorList(std::wstring_view text);

// Replaces `profile` with the profile embedded as RCDATA 201 in `module`. Returns false, leaving
// `profile` untouched, when the resource is missing or empty.
bool LoadPackageProfile(platform::ModuleRef module, PackageProfile& profile);

}  // namespace profile
