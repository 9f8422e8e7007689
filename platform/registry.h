#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>

namespace platform {

// A key under HKEY_CURRENT_USER, created or opened for setting values.
class RegistryKey {
 public:
  RegistryKey();
  ~RegistryKey();  // closes the key
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  [[nodiscard]] bool Create(const std::wstring& subkey);
  // A string value, stored with its terminating NUL.
  [[nodiscard]] bool SetString(const std::wstring& name, const std::wstring& value);
  [[nodiscard]] bool SetDword(const std::wstring& name, std::uint32_t value);
  void Close();

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

}  // namespace platform
