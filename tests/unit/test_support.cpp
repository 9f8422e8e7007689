#include "test_support.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace test {
namespace {

#ifdef _WIN32
void SetVariable(const std::string& name, const std::optional<std::string>& value) {
  _putenv_s(name.c_str(), value ? value->c_str() : "");
}
#else
void SetVariable(const std::string& name, const std::optional<std::string>& value) {
  if (value) {
    setenv(name.c_str(), value->c_str(), 1);
  } else {
    unsetenv(name.c_str());
  }
}
#endif

}  // namespace

TempDir::TempDir() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  path_ = fs::temp_directory_path() / ("pw-test-" + std::to_string(random()));
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  for (fs::recursive_directory_iterator it(path_, ignored), end; !ignored && it != end;
       it.increment(ignored)) {
    std::error_code entryError;
    if (!it->is_symlink(entryError)) {
      fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, entryError);
    }
  }
  fs::remove_all(path_, ignored);
}

ScopedEnv::ScopedEnv(const std::string& name, const std::optional<std::string>& value)
    : name_(name) {
  if (const char* old = std::getenv(name.c_str())) previous_ = old;
  SetVariable(name, value);
}

ScopedEnv::~ScopedEnv() {
  SetVariable(name_, previous_);
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::set<std::string> Tree(const fs::path& root) {
  std::set<std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string relative = fs::relative(entry.path(), root).generic_string();
    if (entry.is_directory()) relative += '/';
    entries.insert(relative);
  }
  return entries;
}

std::string PathWithFirst(const fs::path& folder) {
#ifdef _WIN32
  constexpr char kSeparator = ';';
#else
  constexpr char kSeparator = ':';
#endif
  const char* path = std::getenv("PATH");
  return folder.string() + kSeparator + (path ? path : "");
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace test
