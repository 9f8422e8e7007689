// QuoteWindowsArgument on any text without a NUL (quotes and backslash runs included): a program
// reading its arguments by the C runtime's rules gets the text back as one argument, unchanged.
// Input: UTF-8 text.
#include <cstddef>
#include <cstdint>

#include "platform/text.h"
#include "repair/acquire/command_lines.h"
#include "tests/fuzz/crt_command_line.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/layers.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::CheckCrtSplitterOnKnownAnswers();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::wstring text = platform::Utf8ToWide(fuzz::AsText(data, size));
  text = text.substr(0, text.find(L'\0'));
  const std::wstring line = L"p.exe " + QuoteWindowsArgument(text) + L" next";
  fuzz::ExpectArguments("a quoted argument reads back as itself", fuzz::SplitCrtCommandLine(line),
                        {L"p.exe", L"<text>", L"next"}, {{L"<text>", text}});
  return 0;
}
