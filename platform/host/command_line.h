#pragma once

#include <string>
#include <vector>

namespace platform {

// Splits a Windows command line into arguments by the C runtime's rules (quotes group, a
// backslash run before a quote is halved), which is how a Windows program would receive it.
[[nodiscard]] std::vector<std::string> SplitWindowsCommandLine(const std::wstring& commandLine);

}  // namespace platform
