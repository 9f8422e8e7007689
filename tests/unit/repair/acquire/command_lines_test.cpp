#include "repair/acquire/command_lines.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::wstring kSeparator(1, std::filesystem::path::preferred_separator);

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
}

TEST(ExtractorCommandLine, QuotesTheProgram) {
  EXPECT_EQ(ExtractorCommandLine(L"C:\\Program Files\\7-Zip\\7z.exe", L"x -y"),
            L"\"C:\\Program Files\\7-Zip\\7z.exe\" x -y");
}

}  // namespace
