#include "rules/folder_rule.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "profile/trim.h"

namespace rules {

namespace fs = std::filesystem;

fs::path CanonicalPath(const fs::path& path) {
  if (path.empty()) return {};
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error).lexically_normal();
  if (error) return {};
  // Resolve the longest head that exists; the rest is appended as written.
  fs::path head = absolute;
  fs::path tail;
  while (!platform::EntryExists(head)) {
    if (!head.has_relative_path()) return {};
    tail = tail.empty() ? head.filename() : head.filename() / tail;
    head = head.parent_path();
  }
  fs::path resolved;
  if (!platform::ResolveExistingPath(head, resolved)) return {};
  return tail.empty() ? resolved : resolved / tail;
}

namespace {

constexpr std::size_t kShortestRemovableFolder = 6;

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

// The path text without the \\?\ (or \\?\UNC\) prefix that names the same place.
std::wstring WithoutLongPrefix(std::wstring text) {
  if (text.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + text.substr(8);
  if (text.rfind(L"\\\\?\\", 0) == 0 || text.rfind(L"\\\\.\\", 0) == 0) return text.substr(4);
  return text;
}

// The elements of a path, lower-cased, separators and the long-path prefix dropped; a leading
// "\\" (a server) is kept as an element of its own so that C:\x and \\x never compare equal.
std::vector<std::wstring> Elements(const std::filesystem::path& path) {
  const std::wstring text = WithoutLongPrefix(platform::PathToWide(path));
  std::vector<std::wstring> elements;
  if (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) {
    elements.push_back(L"\\\\");
  } else if (!text.empty() && IsSeparator(text[0])) {
    elements.push_back(L"\\");
  }
  std::wstring element;
  for (const wchar_t c : text + L"\\") {
    if (!IsSeparator(c)) {
      element += c;
      continue;
    }
    if (element == L"..") {
      if (elements.size() > 1) elements.pop_back();
    } else if (!element.empty() && element != L".") {
      elements.push_back(profile::Lowered(element));
    }
    element.clear();
  }
  return elements;
}

// Whether `inner` is `outer` or lies inside it.
bool IsSameOrInside(const std::vector<std::wstring>& inner,
                    const std::vector<std::wstring>& outer) {
  if (outer.empty() || inner.size() < outer.size()) return false;
  return std::equal(outer.begin(), outer.end(), inner.begin());
}

// The folder as held (made absolute) and its canonical form; the places a folder must not be
// are looked at in both, because a link may make either one harmless-looking.
std::vector<std::vector<std::wstring>> BothForms(const fs::path& held, const fs::path& canonical) {
  std::vector<std::vector<std::wstring>> forms = {Elements(held)};
  if (!canonical.empty()) forms.push_back(Elements(canonical));
  return forms;
}

bool IsOrHoldsUserData(const std::vector<std::vector<std::wstring>>& folderForms) {
  for (const std::wstring& protectedFolder : platform::ProtectedFolders()) {
    const fs::path held = platform::WideToPath(protectedFolder);
    for (const auto& protectedForm : BothForms(held, CanonicalPath(held))) {
      for (const auto& folderForm : folderForms) {
        if (IsSameOrInside(protectedForm, folderForm)) return true;
      }
    }
  }
  return false;
}

bool IsDirectlyUnderUsers(const std::vector<std::vector<std::wstring>>& folderForms) {
  const fs::path users = platform::WideToPath(platform::UsersFolder());
  if (users.empty()) return false;
  for (const auto& usersForm : BothForms(users, CanonicalPath(users))) {
    for (const auto& folderForm : folderForms) {
      if (folderForm.size() == usersForm.size() + 1 && IsSameOrInside(folderForm, usersForm)) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

bool LiesInside(const fs::path& path, const fs::path& folder) {
  std::error_code error;
  const fs::path heldPath = fs::absolute(path, error);
  if (error) return false;
  const fs::path heldFolder = fs::absolute(folder, error);
  if (error) return false;
  for (const auto& pathForm : BothForms(heldPath, CanonicalPath(path))) {
    for (const auto& folderForm : BothForms(heldFolder, CanonicalPath(folder))) {
      if (IsSameOrInside(pathForm, folderForm)) return true;
    }
  }
  return false;
}

bool IsDriveOrShareRoot(const std::wstring& path) {
  const std::wstring text = WithoutLongPrefix(path);
  const bool server = text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1]);
  std::size_t count = 0;
  bool drive = false;
  std::wstring element;
  for (const wchar_t c : text + L"\\") {
    if (!IsSeparator(c)) {
      element += c;
      continue;
    }
    if (!element.empty() && element != L".") {
      if (count == 0 && element.size() == 2 && element[1] == L':') drive = true;
      ++count;
    }
    element.clear();
  }
  if (server) return count <= 2;  // \\server\share
  if (drive) return count <= 1;   // C:\ or C:
  return count == 0;              // \ or /
}

fs::path RemovableFolder(const fs::path& folder) {
  if (folder.empty()) return {};
  std::error_code error;
  const fs::path held = fs::absolute(folder, error);
  if (error) return {};
  const fs::path canonical = CanonicalPath(folder);
  if (canonical.empty()) return {};
  if (IsDriveOrShareRoot(platform::PathToWide(folder)) ||
      IsDriveOrShareRoot(platform::PathToWide(held)) ||
      IsDriveOrShareRoot(platform::PathToWide(canonical))) {
    return {};
  }
  if (canonical.native().size() < kShortestRemovableFolder) return {};
  const auto forms = BothForms(held, canonical);
  // Another user's profile, or a folder that is or holds the user's or the system's own data:
  // emptying it would take other programs' files with it.
  if (IsDirectlyUnderUsers(forms) || IsOrHoldsUserData(forms)) return {};
  return canonical;
}

}  // namespace rules
