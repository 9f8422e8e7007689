#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace platform {

// A running child process as the OS names it, not owned by the holder. Portable code only passes
// it around; whoever started the process keeps it alive while others may hold this reference.
struct ProcessRef {
  std::uintptr_t value = 0;

  explicit operator bool() const { return value != 0; }
  bool operator==(const ProcessRef&) const = default;
};

// Ends the referenced process with `exitCode`. Returns false when it could not be ended.
bool TerminateProcessRef(ProcessRef process, unsigned exitCode);

// A child process started without a window, with the NUL device as its standard input, output
// and error and no other handle inherited: a child that asks for input (a password) reads end of
// input at once instead of waiting for ever.
class ChildProcess {
 public:
  enum class WaitResult { Exited, TimedOut, Failed };

  ChildProcess();
  ~ChildProcess();  // closes the handles; the process itself is left running
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts the program file `program` (a full path, never searched for) with `commandLine`, whose
  // first token is only text for the program to read, in `workingFolder`, or in the caller's own
  // when it is empty. Only the process handle is kept.
  [[nodiscard]] bool Start(const std::filesystem::path& program, const std::wstring& commandLine,
                           const std::filesystem::path& workingFolder = {});
  [[nodiscard]] WaitResult Wait(std::uint32_t milliseconds);
  bool Terminate(std::uint32_t exitCode);
  // False when the exit code cannot be read (or the process still runs).
  [[nodiscard]] bool ExitCode(std::uint32_t& code);
  [[nodiscard]] ProcessRef Ref() const;

 private:
  struct Handles;
  std::unique_ptr<Handles> handles_;
};

}  // namespace platform
