#include "platform/process.h"

#include <vector>

#include "platform/win32/handles.h"

namespace platform {

bool TerminateProcessRef(ProcessRef process, unsigned exitCode) {
  if (!process) return false;
  return TerminateProcess(reinterpret_cast<HANDLE>(process.value), exitCode) != 0;
}

struct ChildProcess::Handles {
  win32::UniqueHandle process;
};

ChildProcess::ChildProcess() : handles_(std::make_unique<Handles>()) {}
ChildProcess::~ChildProcess() = default;

bool ChildProcess::Start(const std::wstring& commandLine,
                         const std::filesystem::path& workingFolder) {
  // CreateProcessW may write into the command line, so it gets a private copy.
  std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
  writable.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(/* lpApplicationName */ nullptr, writable.data(),
                      /* lpProcessAttributes */ nullptr, /* lpThreadAttributes */ nullptr,
                      /* bInheritHandles */ FALSE, CREATE_NO_WINDOW,
                      /* lpEnvironment */ nullptr,
                      workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info)) {
    return false;
  }
  const win32::UniqueHandle thread(info.hThread);  // not needed: closed at once
  handles_->process.reset(info.hProcess);
  return true;
}

ChildProcess::WaitResult ChildProcess::Wait(std::uint32_t milliseconds) {
  switch (WaitForSingleObject(handles_->process.get(), milliseconds)) {
    case WAIT_OBJECT_0: return WaitResult::Exited;
    case WAIT_TIMEOUT: return WaitResult::TimedOut;
    default: return WaitResult::Failed;
  }
}

bool ChildProcess::Terminate(std::uint32_t exitCode) {
  return TerminateProcess(handles_->process.get(), exitCode) != 0;
}

bool ChildProcess::ExitCode(std::uint32_t& code) {
  DWORD value = 0;
  if (!GetExitCodeProcess(handles_->process.get(), &value)) return false;
  code = value;
  return true;
}

ProcessRef ChildProcess::Ref() const {
  return ProcessRef{reinterpret_cast<std::uintptr_t>(handles_->process.get())};
}

}  // namespace platform
