#include "platform/host/command_line.h"

#include "platform/text.h"

namespace platform {

std::vector<std::string> SplitWindowsCommandLine(const std::wstring& commandLine) {
  std::vector<std::string> arguments;
  std::wstring current;
  bool inArgument = false;
  bool quoted = false;
  for (std::size_t i = 0; i < commandLine.size(); ++i) {
    const wchar_t c = commandLine[i];
    if (!quoted && (c == L' ' || c == L'\t')) {
      if (inArgument) arguments.push_back(WideToUtf8(current));
      current.clear();
      inArgument = false;
      continue;
    }
    inArgument = true;
    if (c == L'\\') {
      std::size_t run = 0;
      while (i + run < commandLine.size() && commandLine[i + run] == L'\\') ++run;
      const bool beforeQuote = i + run < commandLine.size() && commandLine[i + run] == L'"';
      if (!beforeQuote) {
        current.append(run, L'\\');
      } else {
        current.append(run / 2, L'\\');
        if (run % 2 == 1) {
          current += L'"';
          ++run;  // the escaped quote is consumed here
        }
      }
      i += run - 1;
      continue;
    }
    if (c == L'"') {
      if (quoted && i + 1 < commandLine.size() && commandLine[i + 1] == L'"') {
        current += L'"';
        ++i;
      } else {
        quoted = !quoted;
      }
      continue;
    }
    current += c;
  }
  if (inArgument) arguments.push_back(WideToUtf8(current));
  return arguments;
}

}  // namespace platform
