#include "profile/profile_lines.h"

#include <gtest/gtest.h>
#include "tests/layers.h"

namespace {

TEST(ScanProfileLines, NumbersEveryLineAndKeepsEveryKey) {
  const auto lines =
      ScanProfileLines("format=Parcelwright.v1\r\n\nno separator\narchiveURL=x\r\r\n#note=a=b\n");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].number, 1u);
  EXPECT_EQ(lines[1].number, 4u);
  EXPECT_EQ(lines[1].key, "archiveURL");
  EXPECT_EQ(lines[1].value, "x\r");  // one CR only is a line end
  EXPECT_EQ(lines[2].number, 5u);
  EXPECT_EQ(lines[2].key, "#note");
  EXPECT_EQ(lines[2].value, "a=b");
}

TEST(ScanProfileLines, AnEscapedEqualsSignStaysInTheKey) {
  const auto lines = ScanProfileLines("a\\=b=c\\=d");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].key, "a\\=b");
  EXPECT_EQ(lines[0].value, "c\\=d");
}

TEST(FirstProfileLine, DropsOneCarriageReturn) {
  EXPECT_EQ(FirstProfileLine("format=Parcelwright.v1\r\nx=y"), "format=Parcelwright.v1");
  EXPECT_EQ(FirstProfileLine("format=Parcelwright.v1\r\r\n"), "format=Parcelwright.v1\r");
  EXPECT_EQ(FirstProfileLine(""), "");
}

}  // namespace
