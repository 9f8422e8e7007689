#pragma once

#include <string>

namespace platform {

// The host build has no executable resources: tests place the bytes a resource id should yield.
void SetHostResource(int id, std::string bytes);
void ClearHostResources();

}  // namespace platform
