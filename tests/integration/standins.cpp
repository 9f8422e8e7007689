#include "standins.h"

#include <sstream>

#include "platform/text.h"
#include "test_support.h"
#ifndef _WIN32
#include "platform/host/command_line.h"
#endif

namespace fs = std::filesystem;

namespace test {

void InstallStandins(const fs::path& folder, std::initializer_list<const char*> names) {
  fs::create_directories(folder);
  for (const char* name : names) {
#ifdef _WIN32
    fs::copy_file(PARCELWRIGHT_STANDIN_EXE, folder / name, fs::copy_options::overwrite_existing);
#else
    fs::create_symlink(fs::path(PARCELWRIGHT_FIXTURES_DIR) / "standins" / "host_standin.py",
                       folder / name);
#endif
  }
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
