#include "platform/registry.h"

#include "platform/win32/handles.h"

namespace platform {

struct RegistryKey::Handle {
  win32::UniqueKey key;
};

RegistryKey::RegistryKey() : handle_(std::make_unique<Handle>()) {}
RegistryKey::~RegistryKey() = default;

bool RegistryKey::Create(const std::wstring& subkey) {
  HKEY key = nullptr;
  const LSTATUS result =
      RegCreateKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &key, nullptr);
  handle_->key.reset(key);
  return result == ERROR_SUCCESS && key != nullptr;
}

bool RegistryKey::SetString(const std::wstring& name, const std::wstring& value) {
  const DWORD size = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(handle_->key.get(), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.c_str()), size) == ERROR_SUCCESS;
}

bool RegistryKey::SetDword(const std::wstring& name, std::uint32_t value) {
  const DWORD data = value;
  return RegSetValueExW(handle_->key.get(), name.c_str(), 0, REG_DWORD,
                        reinterpret_cast<const BYTE*>(&data), sizeof(data)) == ERROR_SUCCESS;
}

void RegistryKey::Close() {
  handle_->key.reset();
}

}  // namespace platform
