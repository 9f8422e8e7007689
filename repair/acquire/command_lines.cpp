#include "repair/acquire/command_lines.h"

#include <filesystem>

#include "platform/powershell_quote.h"

namespace {

std::wstring Quoted(const std::wstring& text) {
  return L"\"" + text + L"\"";
}

}  // namespace

std::wstring TarExtractCommandLine(const std::wstring& archive, const std::wstring& folder) {
  return L"tar.exe -xf " + Quoted(archive) + L" -C " + Quoted(folder);
}

std::wstring ExpandArchiveCommandLine(const std::wstring& archive, const std::wstring& folder) {
  return L"powershell.exe -NoProfile -ExecutionPolicy Bypass -Command \"Expand-Archive "
         L"-LiteralPath " +
         QuotePowerShellLiteral(archive) + L" -DestinationPath " + QuotePowerShellLiteral(folder) +
         L" -Force\"";
}

std::wstring RarExtractArguments(const std::wstring& archive, const std::wstring& folder,
                                 bool winrar) {
  // The extraction folder ends in a separator so that UnRAR takes it as a folder.
  const std::wstring separator(1, std::filesystem::path::preferred_separator);
  return (winrar ? L"x -ibck -o+ " : L"x -o+ ") + Quoted(archive) + L" " +
         Quoted(folder + separator);
}

std::wstring SevenZipExtractArguments(const std::wstring& archive, const std::wstring& folder) {
  return L"x -y -o" + Quoted(folder) + L" " + Quoted(archive);
}

std::wstring ExtractorCommandLine(const std::wstring& program, const std::wstring& arguments) {
  // A program name is read up to the next quote, backslashes included, so plain quotes suffice.
  return Quoted(program) + L" " + arguments;
}
