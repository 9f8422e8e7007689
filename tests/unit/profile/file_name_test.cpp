#include "profile/file_name.h"

#include <gtest/gtest.h>

#include "profile/trim.h"
#include "tests/layers.h"

namespace {

TEST(TrimWhitespace, StripsOnlySpaceTabCrAndLfAtBothEnds) {
  EXPECT_EQ(TrimWhitespace(L" \t\r\nVel mora\n\r\t "), L"Vel mora");
  EXPECT_EQ(TrimWhitespace(L"\vx\f"), L"\vx\f");
  EXPECT_EQ(TrimWhitespace(L" \t \r\n"), L"");
  EXPECT_EQ(TrimWhitespace(L""), L"");
}

TEST(SanitizeFileName, BlankNameTakesTheFallbackUntrimmed) {
  EXPECT_EQ(SanitizeFileName(L"", L"Velmora"), L"Velmora");
  EXPECT_EQ(SanitizeFileName(L" \t\r\n", L" Velmora "), L" Velmora ");
  EXPECT_EQ(SanitizeFileName(L"  ", L""), L"");
}

TEST(SanitizeFileName, TrimsOutsideKeepsInside) {
  EXPECT_EQ(SanitizeFileName(L"  Velmora Online  ", L"x"), L"Velmora Online");
}

TEST(SanitizeFileName, NeverYieldsMoreThanOneComponent) {
  EXPECT_EQ(SanitizeFileName(L"Game:Tool.exe", L"x"), L"Game_Tool.exe");
  EXPECT_EQ(SanitizeFileName(L"..\\..\\Windows/evil", L"x"), L".._.._Windows_evil");
  EXPECT_EQ(SanitizeFileName(L"\\/:*?\"<>|", L"x"), L"_________");
  // The fallback goes through the same replacement.
  EXPECT_EQ(SanitizeFileName(L"", L"a/b"), L"a_b");
}

TEST(SanitizeFileName, LeavesDotsDevicesAndControlCharacters) {
  EXPECT_EQ(SanitizeFileName(L"Velmora.", L"x"), L"Velmora.");
  EXPECT_EQ(SanitizeFileName(L"CON", L"x"), L"CON");
  EXPECT_EQ(SanitizeFileName(L"a\x01"
                             L"b",
                             L"x"),
            L"a\x01"
            L"b");
}

}  // namespace
