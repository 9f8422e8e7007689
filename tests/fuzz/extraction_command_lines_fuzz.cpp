// Every path in the extractors' command lines reaches the tool as one argument, unchanged: tar.exe
// and 7-Zip by the C runtime's rules, UnRAR and 7-Zip by their own, and powershell.exe by the C
// runtime's rules and then PowerShell's reading of single-quoted literals.
// Input: archive LF folder LF program, each made into a path Windows allows.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "repair/acquire/command_lines.h"
#include "tests/fuzz/crt_command_line.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/layers.h"

namespace {

const std::wstring kArchive = L"<archive>";
const std::wstring kFolder = L"<folder>";
const std::wstring kProgram = L"<program>";

void CheckExpandArchive(const std::wstring& archive, const std::wstring& folder) {
  const auto read = fuzz::SplitCrtCommandLine(ExpandArchiveCommandLine(archive, folder));
  const auto meant = fuzz::SplitCrtCommandLine(ExpandArchiveCommandLine(kArchive, kFolder));
  if (read.size() != meant.size() || read.empty() ||
      !std::equal(meant.begin(), meant.end() - 1, read.begin())) {
    fuzz::Fail("powershell.exe gets the Expand-Archive call as one -Command argument",
               {{"command line", ExpandArchiveCommandLine(archive, folder)}});
  }
  fuzz::ExpectScript("Expand-Archive reads both paths back unchanged", read.back(), meant.back(),
                     {{kArchive, archive}, {kFolder, folder}});
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::CheckCrtSplitterOnKnownAnswers();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto fields = fuzz::Fields(fuzz::AsText(data, size), 3);
  const std::wstring archive = fuzz::WindowsPath(fields[0]);
  const std::wstring folder = fuzz::WindowsPath(fields[1]);
  const std::wstring program = fuzz::WindowsPath(fields[2]);
  const fuzz::Substitutions paths = {{kArchive, archive}, {kFolder, folder}, {kProgram, program}};

  fuzz::ExpectArguments("tar.exe reads each path as one argument",
                        fuzz::SplitCrtCommandLine(TarExtractCommandLine(archive, folder)),
                        fuzz::SplitCrtCommandLine(TarExtractCommandLine(kArchive, kFolder)),
                        {{kArchive, archive}, {kFolder, folder}});

  CheckExpandArchive(archive, folder);

  const std::wstring sevenZip =
      ExtractorCommandLine(program, SevenZipExtractArguments(archive, folder));
  const std::wstring sevenZipMeant =
      ExtractorCommandLine(kProgram, SevenZipExtractArguments(kArchive, kFolder));
  fuzz::ExpectArguments("7-Zip reads each path as one argument by the C runtime's rules",
                        fuzz::SplitCrtCommandLine(sevenZip),
                        fuzz::SplitCrtCommandLine(sevenZipMeant), paths);
  // Its own reading may keep doubled trailing backslashes, which name the same folder.
  fuzz::ExpectArguments("7-Zip reads each path as one argument by its own rules",
                        fuzz::SplitQuotesOnly(sevenZip), fuzz::SplitQuotesOnly(sevenZipMeant),
                        paths, fuzz::OneTrailingBackslash);

  for (const bool winrar : {false, true}) {
    fuzz::ExpectArguments("UnRAR and WinRAR read each path as one argument by their own rules",
                          fuzz::SplitQuotesOnly(ExtractorCommandLine(
                              program, RarExtractArguments(archive, folder, winrar))),
                          fuzz::SplitQuotesOnly(ExtractorCommandLine(
                              kProgram, RarExtractArguments(kArchive, kFolder, winrar))),
                          paths);
  }
  return 0;
}
