#include "tests/fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include "platform/text.h"
#include "tests/unit/powershell_reader.h"

namespace fuzz {

std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

std::vector<std::string_view> Fields(std::string_view text, std::size_t count) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < count) {
    const auto end = text.find('\n');
    if (end == std::string_view::npos) break;
    fields.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  fields.push_back(text);
  fields.resize(count);
  return fields;
}

std::wstring WindowsPath(std::string_view utf8) {
  constexpr std::wstring_view kForbidden = L"\"<>|*?";
  std::wstring path;
  for (const wchar_t c : platform::Utf8ToWide(utf8)) {
    if (c < 0x20 || kForbidden.find(c) != std::wstring_view::npos) continue;
    const bool driveColon = path.size() == 1 && ((path[0] >= L'A' && path[0] <= L'Z') ||
                                                 (path[0] >= L'a' && path[0] <= L'z'));
    if (c == L':' && !driveColon) continue;
    path += c;
  }
  return path;
}

void Fail(std::string_view property,
          std::initializer_list<std::pair<std::string_view, std::wstring>> texts) {
  std::fprintf(stderr, "\nProperty failed: %.*s\n", static_cast<int>(property.size()),
               property.data());
  for (const auto& [name, text] : texts) {
    std::fprintf(stderr, "  %.*s: [%s]\n", static_cast<int>(name.size()), name.data(),
                 platform::WideToUtf8(text).c_str());
  }
  std::abort();
}

bool LexScript(std::wstring_view script, std::vector<ScriptPiece>& pieces) {
  pieces.clear();
  std::wstring code;
  while (!script.empty()) {
    if (!test::IsPowerShellSingleQuote(script.front())) {
      code += script.front();
      script.remove_prefix(1);
      continue;
    }
    const auto literal = test::ReadPowerShellLiteral(script);
    if (!literal) return false;
    if (!code.empty()) pieces.push_back({false, std::move(code)});
    code.clear();
    pieces.push_back({true, literal->value});
    script.remove_prefix(literal->length);
  }
  if (!code.empty()) pieces.push_back({false, std::move(code)});
  return true;
}

std::wstring Substitute(std::wstring text, const Substitutions& values) {
  for (const auto& [placeholder, value] : values) {
    for (auto at = text.find(placeholder); at != std::wstring::npos;
         at = text.find(placeholder, at + value.size())) {
      text.replace(at, placeholder.size(), value);
    }
  }
  return text;
}

namespace {

std::wstring Joined(const std::vector<std::wstring>& arguments) {
  std::wstring joined;
  for (const std::wstring& argument : arguments) joined += L"[" + argument + L"] ";
  return joined;
}

}  // namespace

void ExpectArguments(std::string_view what, const std::vector<std::wstring>& actual,
                     const std::vector<std::wstring>& reference, const Substitutions& values,
                     std::wstring (*same)(std::wstring)) {
  std::vector<std::wstring> read = actual;
  std::vector<std::wstring> expected;
  for (const std::wstring& argument : reference) expected.push_back(Substitute(argument, values));
  if (same) {
    for (std::wstring& argument : read) argument = same(std::move(argument));
    for (std::wstring& argument : expected) argument = same(std::move(argument));
  }
  for (const auto& [placeholder, value] : values) {
    std::size_t holders = 0;
    for (const std::wstring& argument : reference) {
      if (argument.find(placeholder) != std::wstring::npos) ++holders;
    }
    if (holders != 1) Fail(what, {{"placeholder not in one reference argument", placeholder}});
  }
  if (read != expected) {
    Fail(what, {{"arguments read", Joined(actual)}, {"arguments meant", Joined(expected)}});
  }
}

std::wstring OneTrailingBackslash(std::wstring text) {
  while (text.size() >= 2 && text.back() == L'\\' && text[text.size() - 2] == L'\\') {
    text.pop_back();
  }
  return text;
}

void ExpectScript(std::string_view what, const std::wstring& script, const std::wstring& reference,
                  const Substitutions& values) {
  std::vector<ScriptPiece> meant;
  if (!LexScript(reference, meant)) Fail(what, {{"reference script", reference}});
  for (ScriptPiece& piece : meant) {
    if (!piece.literal) continue;
    for (const auto& [placeholder, value] : values) {
      if (piece.text == placeholder) piece.text = value;
    }
  }
  std::vector<ScriptPiece> read;
  if (!LexScript(script, read) || read != meant) {
    Fail(what, {{"script", script}, {"reference", reference}});
  }
}

}  // namespace fuzz
