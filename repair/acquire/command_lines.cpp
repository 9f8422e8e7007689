#include "repair/acquire/command_lines.h"

#include <filesystem>

#include "rules/powershell_quote.h"

namespace repair {

namespace {

std::wstring Quoted(const std::wstring& text) {
  return L"\"" + text + L"\"";
}

}  // namespace

std::wstring QuoteWindowsArgument(std::wstring_view text) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : text) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  // A folder such as D:\ would otherwise escape the closing quote and swallow what follows.
  quoted.append(2 * backslashes, L'\\');
  quoted += L'"';
  return quoted;
}

std::wstring TarExtractCommandLine(const std::wstring& archive, const std::wstring& folder) {
  return L"tar.exe -xf " + QuoteWindowsArgument(archive) + L" -C " + QuoteWindowsArgument(folder);
}

std::wstring ExpandArchiveCommandLine(const std::wstring& archive, const std::wstring& folder) {
  return L"powershell.exe -NoProfile -ExecutionPolicy Bypass -Command \"Expand-Archive "
         L"-LiteralPath " +
         rules::QuotePowerShellLiteral(archive) + L" -DestinationPath " +
         rules::QuotePowerShellLiteral(folder) + L" -Force\"";
}

std::wstring RarExtractArguments(const std::wstring& archive, const std::wstring& folder,
                                 bool winrar) {
  // The extraction folder ends in a separator so that UnRAR takes it as a folder. UnRAR and
  // WinRAR split their own command line and take no backslash as an escape, so plain quotes
  // keep that separator.
  const std::wstring separator(1, std::filesystem::path::preferred_separator);
  return (winrar ? L"x -ibck -o+ " : L"x -o+ ") + Quoted(archive) + L" " +
         Quoted(folder + separator);
}

std::wstring SevenZipExtractArguments(const std::wstring& archive, const std::wstring& folder) {
  // Where 7-Zip splits its own command line it reads "D:\\" with both backslashes: the same
  // folder.
  return L"x -y -o" + QuoteWindowsArgument(folder) + L" " + QuoteWindowsArgument(archive);
}

std::wstring ExtractorCommandLine(const std::wstring& program, const std::wstring& arguments) {
  // A program name is read up to the next quote, backslashes included, so plain quotes suffice.
  return Quoted(program) + L" " + arguments;
}

}  // namespace repair
