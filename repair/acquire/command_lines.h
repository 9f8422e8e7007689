#pragma once

#include <string>
#include <string_view>

namespace repair {

// `text` quoted so that a program reading its arguments by the Microsoft C runtime's rules
// (as tar.exe and most Windows programs do) gets it back as one argument, unchanged: backslashes
// before a quote or before the closing quote are doubled, and a quote is escaped.
[[nodiscard]] std::wstring QuoteWindowsArgument(std::wstring_view text);

// The command lines the extraction starts. Paths are the full Windows paths of an existing
// archive file and of the folder to unpack into.

// tar.exe unpacking `archive` into `folder`, which must exist.
[[nodiscard]] std::wstring TarExtractCommandLine(const std::wstring& archive,
                                                 const std::wstring& folder);

// powershell.exe running Expand-Archive from `archive` into `folder`.
[[nodiscard]] std::wstring ExpandArchiveCommandLine(const std::wstring& archive,
                                                    const std::wstring& folder);

// The arguments after UnRAR.exe (or WinRAR.exe when `winrar`, which then stays hidden) that
// unpack `archive` into `folder`, overwriting.
[[nodiscard]] std::wstring RarExtractArguments(const std::wstring& archive,
                                               const std::wstring& folder, bool winrar);

// The arguments after 7z.exe or 7za.exe that unpack `archive` into `folder`, overwriting.
[[nodiscard]] std::wstring SevenZipExtractArguments(const std::wstring& archive,
                                                    const std::wstring& folder);

// `program` quoted as a program name, then `arguments`.
[[nodiscard]] std::wstring ExtractorCommandLine(const std::wstring& program,
                                                const std::wstring& arguments);

}  // namespace repair
