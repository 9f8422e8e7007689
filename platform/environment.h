#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The user's temporary folder with a trailing separator; empty when the system has none.
[[nodiscard]] std::wstring TempFolder();

[[nodiscard]] std::uint32_t ProcessId();

// Milliseconds since the system started.
[[nodiscard]] std::uint64_t TickCount();

// The most memory the process has held resident since it started, in bytes (the peak working
// set on Windows, VmHWM on Linux); 0 when the system cannot tell.
[[nodiscard]] std::uint64_t PeakResidentBytes();

// The variable's value; empty when it is unset, empty, or 4,096 characters or longer.
[[nodiscard]] std::wstring EnvironmentVariable(std::wstring_view name);

// The full path of `fileName` in the first absolute folder of PATH that holds it as a file; empty
// when none does or the match is 260 characters or longer. Never the current folder.
[[nodiscard]] std::wstring SearchProgram(std::wstring_view fileName);

// The full path of a Windows component, `relativePath` under the system folder (System32), such
// as "tar.exe" or "WindowsPowerShell\v1.0\powershell.exe". The host has no system folder and
// finds the file name on PATH instead.
[[nodiscard]] std::wstring SystemProgram(std::wstring_view relativePath);

struct LocalDate {
  unsigned year = 0;
  unsigned month = 0;
  unsigned day = 0;
};

// The full path of the running program, however long.
[[nodiscard]] std::wstring OwnModulePath();

// Today in the user's time zone.
[[nodiscard]] LocalDate Today();

// Whether `path` is relative by the system's own rule (PathIsRelativeW on Windows).
[[nodiscard]] bool IsRelativePath(const std::wstring& path);

// The user's and the system's own folders, which no tool may ever empty nor empty a folder that
// holds one: the profile, Desktop, Documents, Downloads, Pictures, Music, Videos, Saved Games,
// AppData (Roaming), Local AppData, the temporary folder, the OneDrive roots (the OneDrive,
// OneDriveConsumer and OneDriveCommercial variables and the known folder), Public, the Users
// folder, Windows, System, each Program Files and ProgramData. Folders the system does not have
// are left out.
[[nodiscard]] std::vector<std::wstring> ProtectedFolders();

// The folder that holds every user's profile (C:\Users); empty when the system has none.
[[nodiscard]] std::wstring UsersFolder();

}  // namespace platform
