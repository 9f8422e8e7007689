#include "tests/fuzz/crt_command_line.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz {

namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

}  // namespace

std::vector<std::wstring> SplitCrtCommandLine(std::wstring_view commandLine) {
  const std::wstring_view line = commandLine.substr(0, commandLine.find(L'\0'));
  const std::size_t n = line.size();
  std::vector<std::wstring> argv;
  std::size_t i = 0;

  std::wstring program;
  bool quoted = false;
  for (; i < n && (quoted || !IsBlank(line[i])); ++i) {
    if (line[i] == L'"') {
      quoted = !quoted;
    } else {
      program += line[i];
    }
  }
  argv.push_back(program);

  for (;;) {
    while (i < n && IsBlank(line[i])) ++i;
    if (i == n) break;
    std::wstring argument;
    quoted = false;
    for (;;) {
      std::size_t backslashes = 0;
      while (i < n && line[i] == L'\\') {
        ++backslashes;
        ++i;
      }
      if (i < n && line[i] == L'"') {
        argument.append(backslashes / 2, L'\\');
        if (backslashes % 2 == 1) {
          argument += L'"';
        } else if (quoted && i + 1 < n && line[i + 1] == L'"') {
          argument += L'"';
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
        continue;
      }
      argument.append(backslashes, L'\\');
      if (i == n || (!quoted && IsBlank(line[i]))) break;
      argument += line[i++];
    }
    argv.push_back(std::move(argument));
  }
  return argv;
}

std::vector<std::wstring> SplitQuotesOnly(std::wstring_view commandLine) {
  const std::wstring_view line = commandLine.substr(0, commandLine.find(L'\0'));
  std::vector<std::wstring> argv;
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) break;
    std::wstring argument;
    bool quoted = false;
    for (; i < line.size() && (quoted || !IsBlank(line[i])); ++i) {
      if (line[i] == L'"') {
        quoted = !quoted;
      } else {
        argument += line[i];
      }
    }
    argv.push_back(std::move(argument));
  }
  return argv;
}

void CheckCrtSplitterOnKnownAnswers() {
  struct Case {
    std::wstring_view line;
    std::vector<std::wstring> argv;
  };
  // The table of Microsoft's "Parsing C++ command-line arguments", each after a program name.
  const Case cases[] = {
      {LR"(p "a b c" d e)", {L"p", L"a b c", L"d", L"e"}},
      {LR"(p "ab\"c" "\\" d)", {L"p", L"ab\"c", L"\\", L"d"}},
      {LR"(p a\\\b d"e f"g h)", {L"p", LR"(a\\\b)", L"de fg", L"h"}},
      {LR"(p a\\\"b c d)", {L"p", LR"(a\"b)", L"c", L"d"}},
      {LR"(p a\\\\"b c" d e)", {L"p", LR"(a\\b c)", L"d", L"e"}},
      {LR"(p a"b"" c d)", {L"p", L"ab\" c d"}},
      {LR"("C:\Program Files\a\" x)", {L"C:\\Program Files\\a\\", L"x"}},
      {L"p \"\" \t x", {L"p", L"", L"x"}},
  };
  for (const Case& c : cases) {
    if (SplitCrtCommandLine(c.line) != c.argv) {
      std::fprintf(stderr, "The reference command-line splitter misreads: %ls\n",
                   std::wstring(c.line).c_str());
      std::abort();
    }
  }
}

}  // namespace fuzz
