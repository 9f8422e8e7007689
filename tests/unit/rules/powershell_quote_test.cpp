#include "rules/powershell_quote.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "powershell_reader.h"
#include "tests/layers.h"

namespace {

// Every literal must read back as the very text that went in, and end where the quoting ends.
void ExpectReadsBack(const std::wstring& text) {
  const std::wstring quoted = QuotePowerShellLiteral(text);
  const auto literal = test::ReadPowerShellLiteral(quoted + L"; Remove-Item x");
  ASSERT_TRUE(literal.has_value()) << platform::WideToUtf8(quoted);
  EXPECT_EQ(literal->value, text);
  EXPECT_EQ(literal->length, quoted.size());
}

TEST(QuotePowerShellLiteral, EveryQuotePowerShellKnowsIsDoubled) {
  EXPECT_EQ(QuotePowerShellLiteral(L"D:\\Games\\O'Velmora"), L"'D:\\Games\\O''Velmora'");
  EXPECT_EQ(QuotePowerShellLiteral(L"Tom\u2019s Game"), L"'Tom\u2019\u2019s Game'");
  EXPECT_EQ(QuotePowerShellLiteral(L""), L"''");
  for (const std::wstring text :
       {L"C:\\Games\\Tom\u2019s Game", L"C:\\Games\\x'; Remove-Item -Recurse C:\\ ; '",
        L"\u2018\u2019\u201A\u201B'", L"''", L"\u201B';\u201A", L"C:\\Games\\\u201CQuoted\u201D",
        L"$env:TEMP `n (x) {y}"}) {
    SCOPED_TRACE(platform::WideToUtf8(text));
    ExpectReadsBack(text);
  }
}

}  // namespace
