#include "profile/value_forms.h"

#include <gtest/gtest.h>
#include "tests/layers.h"

namespace {

TEST(NormalizeHex, KeepsOnlyHexDigitsInLowerCase) {
  EXPECT_EQ(NormalizeHex(L"  AB:cd-EF 01\r\n"), L"abcdef01");
  EXPECT_EQ(NormalizeHex(L"sha256:00"), L"a25600");
  EXPECT_EQ(NormalizeHex(L"none"), L"e");
  EXPECT_EQ(NormalizeHex(L""), L"");
}

TEST(HasWebScheme, OnlyLowerCaseHttpAndHttpsAtTheStart) {
  EXPECT_TRUE(HasWebScheme(L"http://127.0.0.1/c.zip"));
  EXPECT_TRUE(HasWebScheme(L"https://cdn.example/c.zip"));
  EXPECT_FALSE(HasWebScheme(L"HTTPS://cdn.example/c.zip"));
  EXPECT_FALSE(HasWebScheme(L" https://cdn.example/c.zip"));
  EXPECT_FALSE(HasWebScheme(L"ftp://cdn.example/c.zip"));
  EXPECT_FALSE(HasWebScheme(L"https:/cdn.example/c.zip"));
}

}  // namespace
