#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace test {

// Puts the extractor stand-ins into `folder` under the given tool names. On Windows tar.exe and
// powershell.exe go where the programs start them instead, the system folder (System32 and its
// WindowsPowerShell\v1.0); powershell.exe there plays both Expand-Archive and the uninstaller's
// cleanup script.
void InstallStandins(const std::filesystem::path& folder, std::initializer_list<const char*> names);

// A system without tar.exe while it lives: on Windows the one in System32 is removed and put back
// afterwards. (The host finds tar.exe on PATH, which each test sets.)
class NoSystemTar {
 public:
  NoSystemTar();
  ~NoSystemTar();
  NoSystemTar(const NoSystemTar&) = delete;
  NoSystemTar& operator=(const NoSystemTar&) = delete;

 private:
  std::filesystem::path saved_;
};

// A fixture package built for this build tree (tests/fixtures/make_package.py).
std::filesystem::path FixturePackage(const std::string& file);

// The stand-ins' log: one "<tool name>\t<command line>" line per start.
std::vector<std::string> StandinLog(const std::filesystem::path& log);

// Whether `logged`, the command line a stand-in received, is `expected`. On Windows the text
// must be identical; on the host it arrives as argv, so both are compared as split arguments,
// the program by its file name.
bool SameCommandLine(const std::string& logged, const std::wstring& expected);

}  // namespace test
