#pragma once

#include <string>

// What the window hands to a job. Written by the window thread only while no worker exists, so
// the worker reads it without a lock.
struct JobContext {
  std::wstring exePath;       // the running repair tool
  std::wstring clientFolder;  // the folder that holds it: the game client
  std::wstring jobUrl;        // the package URL chosen for the current job
};
