#pragma once

#include <filesystem>
#include <system_error>

// Removes a file or a folder tree, read-only entries included; links are removed, never
// followed. Returns false with `error` set when something could not be removed.
bool RemoveTree(const std::filesystem::path& path, std::error_code& error);
