#pragma once

#include <string>
#include <vector>

namespace platform {

// The host build's shell: links are written as small text files and opens are recorded.
struct HostShellOpen {
  std::wstring file;
  std::wstring folder;
};
[[nodiscard]] std::vector<HostShellOpen> HostShellOpens();
void ClearHostShell();

}  // namespace platform
