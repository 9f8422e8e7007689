#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <system_error>

#include "profile/package_profile.h"
#include "repair/core/job.h"
#include "tests/layers.h"

namespace test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& child) const {
    return path_ / child;
  }

 private:
  std::filesystem::path path_;
};

// Sets an environment variable for the scope, restoring the earlier value afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const std::string& name, const std::optional<std::string>& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

void WriteFile(const std::filesystem::path& path, const std::string& bytes);

// A symbolic link at `link` to the file or folder `target`, which must exist.
void MakeLink(const std::filesystem::path& target, const std::filesystem::path& link,
              std::error_code& error);

// Every entry under `root` as a '/'-separated relative path, folders with a trailing '/'.
std::set<std::string> Tree(const std::filesystem::path& root);

// The PATH value with `folder` in front, so programs placed there are found first.
std::string PathWithFirst(const std::filesystem::path& folder);
std::string ReadFile(const std::filesystem::path& path);

// A profile, context and status of one job, owned together.
struct JobFixture {
  PackageProfile profile;
  JobContext context;
  RepairStatus status;
  Job job{profile, context, status};
};

}  // namespace test
