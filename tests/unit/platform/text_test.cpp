#include "platform/text.h"

#include <gtest/gtest.h>

namespace {

constexpr wchar_t kBad = 0xFFFD;

TEST(Utf8ToWide, DecodesWellFormedText) {
  EXPECT_EQ(platform::Utf8ToWide(""), L"");
  EXPECT_EQ(platform::Utf8ToWide("Velmora 2.0"), L"Velmora 2.0");
  EXPECT_EQ(platform::Utf8ToWide("caf\xC3\xA9 \xE2\x82\xAC"), L"caf\u00E9 \u20AC");
  EXPECT_EQ(platform::Utf8ToWide("\xE2\x80\x99"), L"\u2019");
  // Outside the basic plane: a surrogate pair on Windows, one unit where wchar_t is 32-bit.
  EXPECT_EQ(platform::Utf8ToWide("\xF0\x9F\x98\x80"), L"\U0001F600");
  EXPECT_EQ(platform::Utf8ToWide(std::string_view("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(Utf8ToWide, ReplacesEachBadSequenceOnce) {
  const std::wstring expected = {L'a', kBad, kBad, kBad, L'b', kBad, L'c', kBad, kBad, L'd'};
  EXPECT_EQ(platform::Utf8ToWide("a\xF1\x80\x80\xE1\x80\xC2"
                                 "b\x80"
                                 "c\x80\xBF"
                                 "d"),
            expected);
}

TEST(Utf8ToWide, RefusesOverlongSurrogateAndOutOfRangeForms) {
  // The lead and its first continuation byte make one replacement; later bytes make their own.
  EXPECT_EQ(platform::Utf8ToWide("\xC0\xAF"), std::wstring(2, kBad));
  EXPECT_EQ(platform::Utf8ToWide("\xE0\x80\xAF"), std::wstring(2, kBad));
  EXPECT_EQ(platform::Utf8ToWide("\xED\xA0\x80"), std::wstring(2, kBad));
  EXPECT_EQ(platform::Utf8ToWide("\xF4\x90\x80\x80"), std::wstring(3, kBad));
  EXPECT_EQ(platform::Utf8ToWide("\xF5\x80\x80\x80"), std::wstring(4, kBad));
  EXPECT_EQ(platform::Utf8ToWide("\xFE\xFF"), std::wstring(2, kBad));
  EXPECT_EQ(platform::Utf8ToWide("\xED\x9F\xBF\xF4\x8F\xBF\xBF"), L"\uD7FF\U0010FFFF");
}

TEST(Utf8ToWide, SequenceCutOffByTheEndTakesTheRest) {
  EXPECT_EQ(platform::Utf8ToWide("\xE2\x82"), std::wstring(1, kBad));
  EXPECT_EQ(platform::Utf8ToWide("\xF0\x9F\x98"), std::wstring(1, kBad));
  EXPECT_EQ(platform::Utf8ToWide("ab\xF0x"), (std::wstring{L'a', L'b', kBad}));
  // Not cut off: the stray byte ends the sequence and stands on its own.
  EXPECT_EQ(platform::Utf8ToWide("\xE2\x82XY"), (std::wstring{kBad, L'X', L'Y'}));
}

TEST(WideToUtf8, RoundTripsText) {
  const std::string text = "Assassin\xE2\x80\x99s Creed \xF0\x9F\x98\x80 caf\xC3\xA9";
  EXPECT_EQ(platform::WideToUtf8(platform::Utf8ToWide(text)), text);
  EXPECT_EQ(platform::WideToUtf8(L""), "");
}

}  // namespace
