#include "repair/system/programs_key.h"

#include <initializer_list>
#include <string_view>

#include "profile/trim.h"

namespace {

std::wstring FirstNotBlank(std::initializer_list<const std::wstring*> values,
                           std::wstring_view fallback) {
  for (const std::wstring* value : values) {
    std::wstring trimmed = TrimWhitespace(*value);
    if (!trimmed.empty()) return trimmed;
  }
  return std::wstring(fallback);
}

}  // namespace

std::wstring ProgramsEntryDisplayName(const PackageProfile& profile) {
  return FirstNotBlank(
      {&profile.programsDisplayName, &profile.shortcutName, &profile.downloaderName}, L"Velmora");
}

std::wstring ProgramsKeyName(const PackageProfile& profile) {
  std::wstring name = ProgramsEntryDisplayName(profile);
  constexpr std::wstring_view kReserved = L"\\/:*?\"<>|";
  for (wchar_t& c : name) {
    if (kReserved.find(c) != std::wstring_view::npos) c = L'_';
  }
  name = TrimWhitespace(name);
  return L"Parcelwright." + (name.empty() ? std::wstring(L"Velmora") : name);
}
