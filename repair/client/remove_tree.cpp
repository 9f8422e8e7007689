#include "repair/client/remove_tree.h"

#include "platform/remove_tree.h"

bool RemoveTree(const std::filesystem::path& path, std::error_code& error) {
  return platform::RemoveFileTree(path, error);
}
