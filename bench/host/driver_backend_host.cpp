#include <locale>
#include <string>

#include "bench/driver_backend.h"
#include "platform/host/http_host.h"
#include "platform/host/resources_host.h"
#include "platform/resources.h"

namespace bench {

// About the size of the real Uninstall.exe, which the job writes out from Fettle's resources.
constexpr std::size_t kUninstallerStandInBytes = 3 << 20;

void PrepareProcess() {
  std::locale::global(std::locale("C.UTF-8"));
}

void ProvideUninstaller() {
  platform::SetHostResource(platform::kUninstallerResourceId,
                            std::string(kUninstallerStandInBytes, 'U'));
}

void TrustCaFile(const std::filesystem::path& file) {
  platform::SetHostCaFile(file);
}

}  // namespace bench
