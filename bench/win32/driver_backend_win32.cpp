#include "bench/driver_backend.h"

namespace bench {

void PrepareProcess() {}

void ProvideUninstaller() {}  // embedded by driver.rc

void TrustCaFile(const std::filesystem::path&) {}

}  // namespace bench
