#pragma once

#include <filesystem>
#include <string>

namespace repair {

// What the window hands to a job. Written by the window thread only while no worker exists, so
// the worker reads it without a lock.
struct JobContext {
  std::filesystem::path exePath;       // the running repair tool
  std::filesystem::path clientFolder;  // the folder that holds it: the game client
  std::wstring jobUrl;                 // the package URL chosen for the current job
};

}  // namespace repair
