#pragma once

#include <filesystem>

namespace platform {

// The host build only: the CA file later downloads check servers against, instead of the
// system's store (an empty path restores it). Debian's libcurl reads no environment variable
// for this; tests hand it the test CA of their web server.
void SetHostCaFile(const std::filesystem::path& file);

}  // namespace platform
