#pragma once

#include <filesystem>

// What the benchmark driver needs from the build it runs in beyond the product's own seam.
namespace bench {

// Host: a UTF-8 locale, so that paths with any name convert. Windows: nothing.
void PrepareProcess();

// Makes resource 203 hold an uninstaller for the job to write out. Windows: the real one is
// embedded in the driver as in Fettle.exe. Host: a stand-in of its size.
void ProvideUninstaller();

// Makes HTTPS downloads trust the CA in `file`. Windows: nothing; the CA is trusted in the
// Wine prefix's own Root store by the web server fixture.
void TrustCaFile(const std::filesystem::path& file);

}  // namespace bench
