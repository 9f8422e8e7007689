#include "profile/profile_check.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "platform/text.h"
#include "profile/package_profile.h"
#include "profile/profile_lines.h"
#include "profile/trim.h"
#include "profile/value_forms.h"

namespace profile {

namespace {

constexpr std::string_view kFormatKey = "format";
constexpr std::string_view kFormatLine = "format=Parcelwright.v1";

// Levenshtein distance in quarter steps: a change of letter case alone costs one quarter, so
// `archiveURL` finds `archiveUrl` before any key one real letter away.
std::size_t KeyDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = 4 * j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = 4 * i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const char x = a[i - 1];
      const char y = b[j - 1];
      std::size_t change = 0;
      if (x != y) {
        const bool caseOnly = std::tolower(static_cast<unsigned char>(x)) ==
                              std::tolower(static_cast<unsigned char>(y));
        change = caseOnly ? 1 : 4;
      }
      const std::size_t next = std::min({row[j] + 4, row[j - 1] + 4, diagonal + change});
      diagonal = row[j];
      row[j] = next;
    }
  }
  return row[b.size()];
}

bool IsFlagSpelling(std::string_view raw) {
  return raw.empty() || IsTrueSpelling(raw) || raw == "0" || raw == "false" || raw == "FALSE";
}

bool IsAsciiHex(wchar_t c) {
  return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

bool IsAccentForm(std::wstring_view text) {
  if (text.starts_with(L'#')) text.remove_prefix(1);
  return text.size() == 6 && std::all_of(text.begin(), text.end(), IsAsciiHex);
}

std::string Quoted(std::wstring_view text) {
  std::string quoted(1, '\'');
  quoted += platform::WideToUtf8(text);
  quoted += '\'';
  return quoted;
}

class Checker {
 public:
  explicit Checker(ProfileRole role) : role_(role) {
    for (const ProfileKeyInfo& info : ProfileKeyTable()) kinds_.emplace(info.key, info.kind);
  }

  std::vector<ProfileFinding> Run(std::string_view text) {
    if (FirstProfileLine(text) != kFormatLine) {
      Error(1, std::string(kFormatKey),
            "the first line must be '" + std::string(kFormatLine) + "'");
    }
    const std::vector<ProfileLine> lines = ScanProfileLines(text);
    std::map<std::string_view, const ProfileLine*> last;
    for (const ProfileLine& line : lines) {
      CheckLine(line);
      last.insert_or_assign(line.key, &line);
    }
    const auto url = last.find("archiveUrl");
    if (role_ == ProfileRole::Package && url == last.end()) {
      Error(0, "archiveUrl", "not set: the repair tool would have no package to download");
    }
    WarnUnauthenticated(ParsePackageProfile(text), last);
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const auto& a, const auto& b) { return a.line < b.line; });
    return std::move(findings_);
  }

 private:
  void CheckLine(const ProfileLine& line) {
    const std::string key(line.key);
    if (line.key == kFormatKey) return;
    const auto kind = kinds_.find(line.key);
    if (kind == kinds_.end()) {
      Error(line.number, key,
            "unknown key; did you mean '" + std::string(ClosestProfileKey(line.key)) + "'?");
      return;
    }
    if (kind->second == ProfileKeyKind::Flag) {
      if (!IsFlagSpelling(line.value)) {
        Error(line.number, key,
              "flag value '" + std::string(line.value) +
                  "' is not one of 1, true, TRUE, 0, false, FALSE or empty");
      }
      return;
    }
    const std::wstring value = UnescapeProfileValue(line.value);
    if (kind->second == ProfileKeyKind::MirrorList) {
      for (const std::wstring& mirror : SplitMirrorList(value)) {
        if (!HasWebScheme(mirror)) {
          Error(line.number, key, "mirror URL " + Quoted(mirror) + NotWebScheme());
        }
      }
    } else if (line.key == "archiveUrl") {
      const std::wstring url = TrimWhitespace(value);
      if (url.empty()) {
        if (role_ == ProfileRole::Package) {
          Error(line.number, key, "empty: the repair tool would have no package to download");
        }
      } else if (!HasWebScheme(url)) {
        Error(line.number, key, "URL " + Quoted(url) + NotWebScheme());
      }
    } else if (line.key == "archiveSha256") {
      const std::size_t digits = NormalizeHex(value).size();
      if (!TrimWhitespace(value).empty() && digits != 64) {
        Error(line.number, key,
              "has " + std::to_string(digits) +
                  " hex digits; a SHA-256 has 64 (or leave it blank for no check)");
      }
    } else if (line.key == "accentHex") {
      const std::wstring accent = TrimWhitespace(value);
      if (!accent.empty() && !IsAccentForm(accent)) {
        Error(line.number, key,
              Quoted(accent) + " is not six hex digits RRGGBB (with an optional leading #)");
      }
    }
  }

  // A plain http:// download that no hash checks can be swapped on the way.
  void WarnUnauthenticated(const PackageProfile& profile,
                           const std::map<std::string_view, const ProfileLine*>& last) {
    if (!TrimWhitespace(profile.archiveSha256).empty()) return;
    const auto lineOf = [&](std::string_view key) {
      const auto found = last.find(key);
      return found == last.end() ? std::size_t{0} : found->second->number;
    };
    std::vector<std::pair<std::string, std::wstring>> urls = {
        {"archiveUrl", TrimWhitespace(profile.archiveUrl)}};
    for (const std::wstring& mirror : profile.archiveMirrorUrls) {
      urls.emplace_back("archiveMirrorUrls", mirror);
    }
    for (const auto& [key, url] : urls) {
      if (!url.starts_with(L"http://")) continue;
      findings_.push_back({false, lineOf(key), key,
                           "plain http:// URL " + Quoted(url) +
                               " without archiveSha256: the package is not authenticated"});
    }
  }

  static std::string NotWebScheme() { return " does not start with http:// or https://"; }

  void Error(std::size_t line, std::string key, std::string message) {
    findings_.push_back({true, line, std::move(key), std::move(message)});
  }

  ProfileRole role_;
  std::map<std::string_view, ProfileKeyKind> kinds_;
  std::vector<ProfileFinding> findings_;
};

}  // namespace

std::vector<ProfileFinding> CheckProfile(std::string_view text, ProfileRole role) {
  return Checker(role).Run(text);
}

std::string_view ClosestProfileKey(std::string_view key) {
  std::string_view best = kFormatKey;
  std::size_t bestDistance = KeyDistance(key, kFormatKey);
  for (const ProfileKeyInfo& info : ProfileKeyTable()) {
    const std::size_t distance = KeyDistance(key, info.key);
    if (distance < bestDistance) {
      best = info.key;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace profile
