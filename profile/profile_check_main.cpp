// The profile checker for publishers and for the build: parcelwright-profile-check
// [--sample] [--quiet] [--rc-values OUT.cmake] PROFILE
// Prints every finding as FILE:LINE: error|warning: KEY: message, then (unless --quiet) the
// values as the programs will read them. Exits 1 when there is an error, 2 on bad usage or an
// unreadable file. --rc-values writes the string values, escaped for an .rc string literal, as
// CMake set() lines for the version blocks.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/text.h"
#include "profile/package_profile.h"
#include "profile/profile_check.h"

using namespace profile;

namespace {

// `value` in UTF-8 with line breaks, tabs and backslashes escaped, and a double quote written as
// `quote`.
std::string Escaped(std::wstring_view value, std::string_view quote) {
  std::string out;
  for (const char c : platform::WideToUtf8(value)) {
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      case '"': out += quote; break;
      default: out += c;
    }
  }
  return out;
}

std::string Printable(std::wstring_view value) {
  return "\"" + Escaped(value, "\\\"") + "\"";
}

// The text of an .rc string literal; code page 65001 lets UTF-8 stand as it is.
std::string RcLiteral(std::wstring_view value) {
  return Escaped(value, "\"\"");
}

// A CMake bracket argument long enough that the value cannot close it.
std::string BracketArgument(const std::string& text) {
  std::string equals;
  while (text.find("]" + equals + "]") != std::string::npos) equals += '=';
  return "[" + equals + "[" + text + "]" + equals + "]";
}

void PrintValues(const PackageProfile& profile) {
  for (const ProfileKeyInfo& info : ProfileKeyTable()) {
    std::cout << info.key << " = ";
    switch (info.kind) {
      case ProfileKeyKind::String: std::cout << Printable(profile.*info.text) << '\n'; break;
      case ProfileKeyKind::Flag:
        std::cout << (profile.*info.flag ? "true" : "false") << '\n';
        break;
      case ProfileKeyKind::MirrorList:
        std::cout << '[';
        for (std::size_t i = 0; i < profile.archiveMirrorUrls.size(); ++i) {
          std::cout << (i ? ", " : "") << Printable(profile.archiveMirrorUrls[i]);
        }
        std::cout << "]\n";
        break;
    }
  }
}

// set(PROFILE_<key> ...) for every string key.
bool WriteRcValues(const std::string& file, const PackageProfile& profile) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  for (const ProfileKeyInfo& info : ProfileKeyTable()) {
    if (info.kind != ProfileKeyKind::String) continue;
    out << "set(PROFILE_" << info.key << ' ' << BracketArgument(RcLiteral(profile.*info.text))
        << ")\n";
  }
  return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
  ProfileRole role = ProfileRole::Package;
  bool quiet = false;
  std::string rcValues;
  std::string file;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--sample") {
      role = ProfileRole::Sample;
    } else if (argument == "--quiet") {
      quiet = true;
    } else if (argument == "--rc-values" && i + 1 < argc) {
      rcValues = argv[++i];
    } else if (file.empty() && !argument.starts_with("--")) {
      file = argument;
    } else {
      file.clear();
      break;
    }
  }
  if (file.empty()) {
    std::cerr << "usage: parcelwright-profile-check [--sample] [--quiet] [--rc-values OUT] "
                 "PROFILE\n";
    return 2;
  }
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in) {
    std::cerr << file << ": error: cannot read the profile\n";
    return 2;
  }
  const std::string text = bytes.str();
  bool failed = false;
  for (const ProfileFinding& finding : CheckProfile(text, role)) {
    failed = failed || finding.error;
    std::cerr << file;
    if (finding.line != 0) std::cerr << ':' << finding.line;
    std::cerr << ": " << (finding.error ? "error" : "warning") << ": " << finding.key << ": "
              << finding.message << '\n';
  }
  const PackageProfile profile = ParsePackageProfile(text);
  if (!quiet) PrintValues(profile);
  if (!rcValues.empty() && !WriteRcValues(rcValues, profile)) {
    std::cerr << rcValues << ": error: cannot write the values\n";
    return 2;
  }
  return failed ? 1 : 0;
}
