#pragma once

#include <string>

// A path of the Linux build tree as Wine's Z: drive shows it.
std::wstring UnixPathToWine(const char* path);
