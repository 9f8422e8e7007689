#include "standins.h"

#include <sstream>

#include "platform/text.h"
#include "test_support.h"
#ifdef _WIN32
#include <windows.h>
#else
#include "platform/host/command_line.h"
#endif

namespace fs = std::filesystem;

namespace test {

#ifdef _WIN32
fs::path SystemFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
  return fs::path(std::wstring(buffer, length));
}
#endif

void InstallStandins(const fs::path& folder, std::initializer_list<const char*> names) {
  fs::create_directories(folder);
#ifdef _WIN32
  // tar.exe and powershell.exe are started only from the system folder.
  const fs::path tar = SystemFolder() / "tar.exe";
  const fs::path powershell = SystemFolder() / "WindowsPowerShell" / "v1.0" / "powershell.exe";
  fs::create_directories(powershell.parent_path());
#endif
  for (const char* name : names) {
#ifdef _WIN32
    const std::string tool = name;
    if (tool == "tar.exe") {
      fs::copy_file(PARCELWRIGHT_STANDIN_EXE, tar, fs::copy_options::overwrite_existing);
    } else if (tool == "powershell.exe") {
      fs::copy_file(PARCELWRIGHT_POWERSHELL_STANDIN_EXE, powershell,
                    fs::copy_options::overwrite_existing);
    } else {
      fs::copy_file(PARCELWRIGHT_STANDIN_EXE, folder / name, fs::copy_options::overwrite_existing);
    }
#else
    fs::create_symlink(fs::path(PARCELWRIGHT_FIXTURES_DIR) / "standins" / "host_standin.py",
                       folder / name);
#endif
  }
}

NoSystemTar::NoSystemTar() {
#ifdef _WIN32
  const fs::path tar = SystemFolder() / "tar.exe";
  std::error_code error;
  if (fs::is_regular_file(tar, error)) {
    saved_ = fs::temp_directory_path(error) / "parcelwright-system-tar.exe";
    fs::copy_file(tar, saved_, fs::copy_options::overwrite_existing, error);
    fs::remove(tar, error);
  }
#endif
}

NoSystemTar::~NoSystemTar() {
  if (saved_.empty()) return;
#ifdef _WIN32
  std::error_code error;
  fs::copy_file(saved_, SystemFolder() / "tar.exe", fs::copy_options::overwrite_existing, error);
  fs::remove(saved_, error);
#endif
}

fs::path FixturePackage(const std::string& file) {
  return fs::path(PARCELWRIGHT_PACKAGES_DIR) / file;
}

std::vector<std::string> StandinLog(const fs::path& log) {
  std::vector<std::string> lines;
  std::istringstream text(ReadFile(log));
  for (std::string line; std::getline(text, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool SameCommandLine(const std::string& logged, const std::wstring& expected) {
#ifdef _WIN32
  return logged == platform::WideToUtf8(expected);
#else
  std::vector<std::string> got = platform::SplitWindowsCommandLine(platform::Utf8ToWide(logged));
  std::vector<std::string> want = platform::SplitWindowsCommandLine(expected);
  if (got.empty() || want.empty()) return false;
  got[0] = fs::path(got[0]).filename().string();
  want[0] = fs::path(want[0]).filename().string();
  return got == want;
#endif
}

}  // namespace test
