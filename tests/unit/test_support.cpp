#include "test_support.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#endif

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

#ifdef _WIN32
// The Linux path of a Windows path under Wine, or nothing on Windows itself.
std::wstring UnixName(const fs::path& path) {
  using Convert = char*(CDECL*)(const wchar_t*);
  const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return {};
  char* unix = convert(fs::absolute(path).c_str());
  if (!unix) return {};
  std::wstring name(MultiByteToWideChar(CP_UTF8, 0, unix, -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, unix, -1, name.data(), static_cast<int>(name.size()));
  HeapFree(GetProcessHeap(), 0, unix);
  if (!name.empty()) name.pop_back();  // the terminator
  return name;
}

// Wine 8's CreateSymbolicLinkW reports success and makes nothing, while a Linux link is what
// Wine shows as a reparse point; so under Wine the link is made by ln. Wine hands back no handle
// to wait on for a Linux program, so the link is waited for instead.
void MakeLinkUnderWine(const std::wstring& target, const std::wstring& link,
                       const fs::path& windowsLink, std::error_code& error) {
  std::wstring command = L"/bin/ln -s \"" + target + L"\" \"" + link + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(L"Z:\\bin\\ln", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    error.assign(static_cast<int>(GetLastError()), std::system_category());
    return;
  }
  if (process.hThread) CloseHandle(process.hThread);
  if (process.hProcess) CloseHandle(process.hProcess);
  for (int tries = 0; tries < 500; ++tries) {
    if (GetFileAttributesW(windowsLink.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    Sleep(10);
  }
  error = std::make_error_code(std::errc::timed_out);
}
#endif

}  // namespace

void MakeLink(const fs::path& target, const fs::path& link, std::error_code& error) {
  error.clear();
#ifdef _WIN32
  const std::wstring unixTarget = UnixName(target);
  const std::wstring unixLink = UnixName(link);
  if (!unixTarget.empty() && !unixLink.empty()) {
    MakeLinkUnderWine(unixTarget, unixLink, link, error);
  } else {
    const DWORD kind = fs::is_directory(target, error) ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0;
    if (!CreateSymbolicLinkW(link.c_str(), target.c_str(),
                             kind | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE)) {
      error.assign(static_cast<int>(GetLastError()), std::system_category());
    }
  }
  if (!error && GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES) {
    error = std::make_error_code(std::errc::no_such_file_or_directory);
  }
#else
  if (fs::is_directory(target, error)) {
    fs::create_directory_symlink(target, link, error);
  } else {
    fs::create_symlink(target, link, error);
  }
#endif
}

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
