#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <thread>

#include "platform/host/command_line.h"
#include "platform/process.h"

extern char** environ;

namespace platform {

// POSIX cannot impose an exit code on another process; SIGKILL ends it just as surely.
bool TerminateProcessRef(ProcessRef process, unsigned) {
  if (!process) return false;
  return kill(static_cast<pid_t>(process.value), SIGKILL) == 0;
}

struct ChildProcess::Handles {
  pid_t pid = 0;
  std::optional<std::uint32_t> exitCode;
  std::uint32_t terminateCode = 1;
  bool terminated = false;

  // Notes the child's end without reaping it: until the owner lets go, its pid cannot be reused,
  // so a ProcessRef published elsewhere never names a stranger.
  bool Poll() {
    if (exitCode) return true;
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
        info.si_pid != pid) {
      return false;
    }
    if (info.si_code == CLD_EXITED) {
      exitCode = static_cast<std::uint32_t>(info.si_status);
    } else {
      exitCode = terminated ? terminateCode : 1u;
    }
    return true;
  }
};

ChildProcess::ChildProcess() : handles_(std::make_unique<Handles>()) {}

// Reaps an ended child; one still running is left to run, as a closed Windows handle would.
ChildProcess::~ChildProcess() {
  if (handles_->pid > 0 && handles_->Poll()) waitpid(handles_->pid, nullptr, WNOHANG);
}

bool ChildProcess::Start(const std::filesystem::path& program, const std::wstring& commandLine,
                         const std::filesystem::path& workingFolder) {
  if (program.empty()) return false;
  std::vector<std::string> arguments = SplitWindowsCommandLine(commandLine);
  if (arguments.empty()) return false;
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return false;
  bool prepared = true;
  for (const int fd : {0, 1, 2}) {
    prepared = prepared && posix_spawn_file_actions_addopen(&actions, fd, "/dev/null",
                                                            fd == 0 ? O_RDONLY : O_WRONLY, 0) == 0;
  }
  if (!workingFolder.empty()) {
    prepared =
        prepared && posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str()) == 0;
  }
  pid_t pid = 0;
  const int result =
      prepared ? posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) : -1;
  posix_spawn_file_actions_destroy(&actions);
  if (result != 0) return false;
  handles_->pid = pid;
  return true;
}

ChildProcess::WaitResult ChildProcess::Wait(std::uint32_t milliseconds) {
  if (handles_->pid <= 0) return WaitResult::Failed;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!handles_->Poll()) {
    if (std::chrono::steady_clock::now() >= deadline) return WaitResult::TimedOut;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return WaitResult::Exited;
}

bool ChildProcess::Terminate(std::uint32_t exitCode) {
  if (handles_->pid <= 0 || handles_->exitCode) return false;
  handles_->terminated = true;
  handles_->terminateCode = exitCode;
  return kill(handles_->pid, SIGKILL) == 0;
}

bool ChildProcess::ExitCode(std::uint32_t& code) {
  if (!handles_->exitCode) return false;
  code = *handles_->exitCode;
  return true;
}

ProcessRef ChildProcess::Ref() const {
  return ProcessRef{static_cast<std::uintptr_t>(handles_->pid)};
}

}  // namespace platform
