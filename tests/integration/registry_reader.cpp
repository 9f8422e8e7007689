#include "registry_reader.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <variant>

#include "platform/host/registry_host.h"
#endif

namespace test {
namespace {

const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

}  // namespace

#ifdef _WIN32
std::optional<std::wstring> UninstallEntryString(const std::wstring& key,
                                                 const std::wstring& name) {
  const std::wstring subkey = kUninstallKey + key;
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                   &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring value(size / sizeof(wchar_t), L'\0');
  if (RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                   value.data(), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.resize(size / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  return value;
}

void RemoveUninstallEntry(const std::wstring& key) {
  RegDeleteTreeW(HKEY_CURRENT_USER, (kUninstallKey + key).c_str());
}
#else
std::optional<std::wstring> UninstallEntryString(const std::wstring& key,
                                                 const std::wstring& name) {
  const auto keys = platform::HostRegistrySnapshot();
  const auto found = keys.find(kUninstallKey + key);
  if (found == keys.end()) return std::nullopt;
  const auto value = found->second.find(name);
  if (value == found->second.end()) return std::nullopt;
  if (const auto* text = std::get_if<std::wstring>(&value->second)) return *text;
  return std::nullopt;
}

void RemoveUninstallEntry(const std::wstring&) {
  platform::ClearHostRegistry();
}
#endif

}  // namespace test
