#pragma once

#include <filesystem>
#include <set>
#include <string>

namespace repair {

// The running tool among the entries at the top of the client folder, found once per job: the
// tool is always a direct child of the folder it looks after, so no deeper entry can be it and
// no path need be resolved for each file.
class OwnExecutable {
 public:
  OwnExecutable(const std::filesystem::path& exePath, const std::filesystem::path& clientFolder);
  // Whether the entry named `name` directly in the client folder is the tool.
  [[nodiscard]] bool IsTopEntry(const std::wstring& name) const;

 private:
  std::set<std::wstring> keys_;  // platform::NameKey of each name the tool is reached by
};

}  // namespace repair
