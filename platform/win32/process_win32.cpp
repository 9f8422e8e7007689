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

bool ChildProcess::Start(const std::filesystem::path& program, const std::wstring& commandLine,
                         const std::filesystem::path& workingFolder) {
  if (program.empty()) return false;
  // CreateProcessW may write into the command line, so it gets a private copy.
  std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
  writable.push_back(L'\0');

  // The NUL device as all three standard handles, and the only handle the child inherits.
  SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
  const win32::UniqueFile nul(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!nul) return false;
  SIZE_T listSize = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &listSize);
  std::vector<std::byte> listMemory(listSize);
  const auto list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(listMemory.data());
  if (!InitializeProcThreadAttributeList(list, 1, 0, &listSize)) return false;
  const win32::UniqueAttributeList listOwner(list);
  HANDLE inherited = nul.get();
  if (!UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &inherited,
                                 sizeof(inherited), nullptr, nullptr)) {
    return false;
  }

  STARTUPINFOEXW startup = {};
  startup.StartupInfo.cb = sizeof(startup);
  startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.StartupInfo.wShowWindow = SW_HIDE;
  startup.StartupInfo.hStdInput = inherited;
  startup.StartupInfo.hStdOutput = inherited;
  startup.StartupInfo.hStdError = inherited;
  startup.lpAttributeList = list;
  PROCESS_INFORMATION info = {};
  // The program is named in full: a bare name would be searched for in the program's own folder
  // and the current folder (a game folder) before System32.
  if (!CreateProcessW(program.c_str(), writable.data(),
                      /* lpProcessAttributes */ nullptr, /* lpThreadAttributes */ nullptr,
                      /* bInheritHandles */ TRUE, CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT,
                      /* lpEnvironment */ nullptr,
                      workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup.StartupInfo,
                      &info)) {
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
