#include "repair/acquire/command_lines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include "tests/layers.h"

namespace {

const std::wstring kSeparator(1, std::filesystem::path::preferred_separator);

TEST(QuoteWindowsArgument, DoublesOnlyTheBackslashesBeforeAQuoteOrTheEnd) {
  EXPECT_EQ(QuoteWindowsArgument(L"C:\\Games\\Tom's Game"), L"\"C:\\Games\\Tom's Game\"");
  EXPECT_EQ(QuoteWindowsArgument(L"D:\\"), L"\"D:\\\\\"");
  EXPECT_EQ(QuoteWindowsArgument(L"\\\\server\\share\\\\"), L"\"\\\\server\\share\\\\\\\\\"");
  EXPECT_EQ(QuoteWindowsArgument(L""), L"\"\"");
  EXPECT_EQ(QuoteWindowsArgument(L"say \"hi\""), L"\"say \\\"hi\\\"\"");
  EXPECT_EQ(QuoteWindowsArgument(L"a\\\"b"), L"\"a\\\\\\\"b\"");
}

TEST(TarExtractCommandLine, AFolderEndingInABackslashKeepsItsClosingQuote) {
  // Read by the C runtime's rules, "D:\" would escape the quote and run into what follows.
  EXPECT_EQ(TarExtractCommandLine(L"C:\\Temp\\p.zip", L"D:\\"),
            L"tar.exe -xf \"C:\\Temp\\p.zip\" -C \"D:\\\\\"");
}

TEST(TarExtractCommandLine, QuotesBothPaths) {
  EXPECT_EQ(TarExtractCommandLine(L"C:\\Temp\\p 1.zip", L"C:\\Games\\Tom's Game\\x"),
            L"tar.exe -xf \"C:\\Temp\\p 1.zip\" -C \"C:\\Games\\Tom's Game\\x\"");
}

TEST(ExpandArchiveCommandLine, PutsEachPathInAPowerShellLiteral) {
  EXPECT_EQ(ExpandArchiveCommandLine(L"C:\\Temp\\O'Brien.zip", L"C:\\Games\\Tom\u2019s"),
            L"powershell.exe -NoProfile -ExecutionPolicy Bypass -Command \"Expand-Archive "
            L"-LiteralPath 'C:\\Temp\\O''Brien.zip' -DestinationPath 'C:\\Games\\Tom\u2019\u2019s' "
            L"-Force\"");
}

TEST(RarExtractArguments, EndTheFolderInASeparator) {
  EXPECT_EQ(RarExtractArguments(L"C:\\a b.rar", L"C:\\out", false),
            L"x -o+ \"C:\\a b.rar\" \"C:\\out" + kSeparator + L"\"");
  EXPECT_EQ(RarExtractArguments(L"C:\\a b.rar", L"C:\\out", true),
            L"x -ibck -o+ \"C:\\a b.rar\" \"C:\\out" + kSeparator + L"\"");
}

TEST(SevenZipExtractArguments, QuoteTheFolderAfterTheOutputSwitch) {
  EXPECT_EQ(SevenZipExtractArguments(L"C:\\a b.rar", L"C:\\my out"),
            L"x -y -o\"C:\\my out\" \"C:\\a b.rar\"");
  EXPECT_EQ(SevenZipExtractArguments(L"C:\\a b.rar", L"D:\\"),
            L"x -y -o\"D:\\\\\" \"C:\\a b.rar\"");
}

TEST(ExtractorCommandLine, QuotesTheProgram) {
  EXPECT_EQ(ExtractorCommandLine(L"C:\\Program Files\\7-Zip\\7z.exe", L"x -y"),
            L"\"C:\\Program Files\\7-Zip\\7z.exe\" x -y");
}

}  // namespace
