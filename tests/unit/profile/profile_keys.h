#pragma once

// The profile's string keys and flag keys by name, for tests that walk every key.
// A table kept one key a line; clang-format does not settle on macro continuations.
// clang-format off
#define PROFILE_STRING_KEYS(X) \
  X(downloaderName) \
  X(downloaderVersion) \
  X(welcomeTitle) \
  X(welcomeBody) \
  X(installInstruction) \
  X(defaultInstallPath) \
  X(packageMode) \
  X(archiveType) \
  X(archiveUrl) \
  X(embeddedArchiveName) \
  X(archiveSha256) \
  X(startupExe) \
  X(shortcutName) \
  X(discordUrl) \
  X(websiteUrl) \
  X(repairToolName) \
  X(downloadTitle) \
  X(downloadSubtitle) \
  X(accentHex) \
  X(companyName) \
  X(installerFileDescription) \
  X(installerProductName) \
  X(installerProductVersion) \
  X(installerCopyright) \
  X(installerLanguage) \
  X(uninstallerFileDescription) \
  X(uninstallerProductName) \
  X(uninstallerProductVersion) \
  X(uninstallerCopyright) \
  X(uninstallerLanguage) \
  X(programsDisplayName) \
  X(programsPublisher) \
  X(programsDisplayVersion) \
  X(repairFileDescription) \
  X(repairProductName) \
  X(repairProductVersion) \
  X(repairCopyright) \
  X(repairLanguage) \
  X(vcRedistMinVersion) \
  X(eacProductId) \
  X(directXWebInstallerUrl) \
  X(vcRedistX64Url)

#define PROFILE_FLAG_KEYS(X) \
  X(showLogo) \
  X(showWelcomeText) \
  X(showDownloadText) \
  X(showDiscord) \
  X(runAfterInstall) \
  X(offerDesktopShortcut) \
  X(cleanupArchive) \
  X(installRepairTool) \
  X(installPrerequisites) \
  X(installEac) \
  X(multiRepairTool) \
  X(requireAdmin) \
  X(promptOnlineDirectX) \
  X(promptOnlineVcRedist)
// clang-format on
