#include <windows.h>

#include "platform/environment.h"

namespace platform {

std::wstring TempFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, buffer);  // a failure leaves the buffer empty: no temporary folder
  return buffer;
}

std::uint32_t ProcessId() {
  return GetCurrentProcessId();
}

std::uint64_t TickCount() {
  return GetTickCount64();
}

std::wstring EnvironmentVariable(std::wstring_view name) {
  constexpr DWORD kCapacity = 4096;
  std::wstring value(kCapacity, L'\0');
  const DWORD length = GetEnvironmentVariableW(std::wstring(name).c_str(), value.data(), kCapacity);
  if (length == 0 || length >= kCapacity) return {};
  value.resize(length);
  return value;
}

std::wstring SearchProgram(std::wstring_view fileName) {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length =
      SearchPathW(nullptr, std::wstring(fileName).c_str(), nullptr, MAX_PATH, buffer, nullptr);
  if (length == 0 || length >= MAX_PATH) return {};
  return buffer;
}

}  // namespace platform
