#include "profile/accent_color.h"

#include <gtest/gtest.h>
#include "tests/layers.h"

namespace {

TEST(ParseAccentColor, ReadsSixDigitsWithOrWithoutHash) {
  EXPECT_EQ(ParseAccentColor(L"FFA640"), 0xFFFFA640u);
  EXPECT_EQ(ParseAccentColor(L"#ffa640"), 0xFFFFA640u);
  EXPECT_EQ(ParseAccentColor(L"  #3A7BD5\r\n"), 0xFF3A7BD5u);
  EXPECT_EQ(ParseAccentColor(L"000000"), 0xFF000000u);
}

TEST(ParseAccentColor, NonHexCharactersCountAsZero) {
  // A hash with five digits is six characters: the hash is read as the digit 0.
  EXPECT_EQ(ParseAccentColor(L"#12345"), 0xFF012345u);
  EXPECT_EQ(ParseAccentColor(L"12G456"), 0xFF120456u);
}

TEST(ParseAccentColor, OtherLengthsGiveTheDefault) {
  EXPECT_EQ(ParseAccentColor(L"1234567"), kDefaultAccentColor);
  EXPECT_EQ(ParseAccentColor(L"F80"), kDefaultAccentColor);
  EXPECT_EQ(ParseAccentColor(L""), kDefaultAccentColor);
  EXPECT_EQ(ParseAccentColor(L"   "), kDefaultAccentColor);
  EXPECT_EQ(ParseAccentColor(L"#12345678"), kDefaultAccentColor);
}

}  // namespace
