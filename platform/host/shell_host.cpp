#include "platform/host/shell_host.h"

#include <cstdlib>
#include <fstream>
#include <mutex>

#include "platform/shell.h"
#include "platform/text.h"

namespace platform {
namespace {

struct Recorder {
  std::mutex lock;
  std::vector<HostShellOpen> opens;
};

Recorder& HostRecorder() {
  static Recorder recorder;
  return recorder;
}

}  // namespace

std::vector<HostShellOpen> HostShellOpens() {
  std::lock_guard guard(HostRecorder().lock);
  return HostRecorder().opens;
}

void ClearHostShell() {
  std::lock_guard guard(HostRecorder().lock);
  HostRecorder().opens.clear();
}

bool DesktopFolder(std::filesystem::path& folder) {
  const char* home = std::getenv("HOME");
  if (!home || !*home) return false;
  folder = std::filesystem::path(home) / "Desktop";
  return true;
}

ShellLinkResult SaveShellLink(const std::filesystem::path& link,
                              const std::filesystem::path& target,
                              const std::filesystem::path& workingFolder,
                              const std::wstring& description) {
  std::ofstream out(link, std::ios::trunc);
  out << "target=" << target.native() << "\nfolder=" << workingFolder.native()
      << "\ndescription=" << WideToUtf8(description) << "\n";
  return out ? ShellLinkResult::Saved : ShellLinkResult::NotSaved;
}

void ShellOpen(void*, const std::wstring& file, const std::filesystem::path& folder) {
  std::lock_guard guard(HostRecorder().lock);
  HostRecorder().opens.push_back({file, PathToWide(folder)});
}

}  // namespace platform
