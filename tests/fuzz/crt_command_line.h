#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// The argv a program built with the Microsoft C runtime (2008 and later) makes of `commandLine`,
// of which CreateProcessW passes the text before the first NUL. The program name ends at the
// first blank outside quotes, with quotes dropped and backslashes literal. In the arguments, 2n
// backslashes before a quote stand for n and the quote opens or closes quoting, 2n+1 stand for
// n and a literal quote, other backslashes are literal, and "" inside quotes is one quote.
[[nodiscard]] std::vector<std::wstring> SplitCrtCommandLine(std::wstring_view commandLine);

// How UnRAR and 7-Zip split their own command lines: blanks outside quotes separate, a quote
// opens or closes quoting and is dropped, and a backslash is an ordinary character.
[[nodiscard]] std::vector<std::wstring> SplitQuotesOnly(std::wstring_view commandLine);

// Aborts unless SplitCrtCommandLine reads Microsoft's documented examples as documented.
void CheckCrtSplitterOnKnownAnswers();

}  // namespace fuzz
