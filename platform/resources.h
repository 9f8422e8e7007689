#pragma once

#include <string>

namespace platform {

inline constexpr int kProfileResourceId = 201;
inline constexpr int kLogoResourceId = 202;
inline constexpr int kUninstallerResourceId = 203;
inline constexpr int kUninstallBackgroundResourceId = 206;
inline constexpr int kBackgroundResourceId = 207;

// A loaded executable image whose resources are read; a null handle is the running program.
struct ModuleRef {
  void* handle = nullptr;
};

// Copies the bytes of RCDATA `id` of `module`. The language-neutral copy is preferred, so a
// localised sample embedded beside it never shadows the package's own data. Returns false when
// the resource is absent or cannot be loaded.
[[nodiscard]] bool ReadRcData(ModuleRef module, int id, std::string& bytes);

}  // namespace platform
