#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>

namespace platform {

// The host build's registry: an in-memory record of what the code wrote, for tests to read.
using RegistryValue = std::variant<std::wstring, std::uint32_t>;
using RegistryValues = std::map<std::wstring, RegistryValue>;

[[nodiscard]] std::map<std::wstring, RegistryValues> HostRegistrySnapshot();
void ClearHostRegistry();
// Makes every later Create (or every SetString/SetDword of `failingValue`) fail, for tests.
void FailHostRegistry(bool failCreate, const std::wstring& failingValue = L"");

}  // namespace platform
