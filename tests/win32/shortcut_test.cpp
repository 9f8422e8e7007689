#include <windows.h>

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/shell.h"
#include "repair/system/shortcut.h"
#include "tests/layers.h"

namespace fs = std::filesystem;

namespace {

// Reads a .lnk file back through the shell's own link object.
struct LinkFields {
  std::wstring target;
  std::wstring folder;
  std::wstring description;
};

bool ReadLink(const fs::path& link, LinkFields& fields) {
  IShellLinkW* shellLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&shellLink)))) {
    return false;
  }
  IPersistFile* file = nullptr;
  bool ok = SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
  ok = ok && SUCCEEDED(file->Load(link.c_str(), STGM_READ));
  wchar_t text[MAX_PATH] = {};
  if (ok && SUCCEEDED(shellLink->GetPath(text, MAX_PATH, nullptr, 0))) fields.target = text;
  if (ok && SUCCEEDED(shellLink->GetWorkingDirectory(text, MAX_PATH))) fields.folder = text;
  if (ok && SUCCEEDED(shellLink->GetDescription(text, MAX_PATH))) fields.description = text;
  if (file) file->Release();
  shellLink->Release();
  return ok;
}

TEST(DesktopShortcut, IsARealShellLinkToTheStartupProgram) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  const fs::path game = fs::temp_directory_path() / "pw shortcut game";
  fs::create_directories(game);
  std::ofstream(game / "patcher.exe") << "stand-in";
  PackageProfile profile;
  profile.startupExe = L"patcher.exe";
  profile.shortcutName = L"Velmora Shortcut Test";
  profile.downloaderName = L"Velmora Downloader";
  JobContext context;
  context.clientFolder = game;
  context.exePath = game / "Fettle.exe";
  RepairStatus status;
  const Job job{profile, context, status};

  std::wstring message;
  ASSERT_TRUE(CreateDesktopShortcut(job, message)) << static_cast<int>(message.size());
  EXPECT_EQ(message, L"Game desktop shortcut created.");
  fs::path desktop;
  ASSERT_TRUE(platform::DesktopFolder(desktop));
  const fs::path link = desktop / L"Velmora Shortcut Test.lnk";
  LinkFields fields;
  ASSERT_TRUE(ReadLink(link, fields));
  EXPECT_EQ(fs::path(fields.target), game / "patcher.exe");
  EXPECT_EQ(fs::path(fields.folder), game);
  EXPECT_EQ(fields.description, L"Velmora Downloader launcher");

  fs::remove(link);
  fs::remove_all(game);
  CoUninitialize();
}

}  // namespace
