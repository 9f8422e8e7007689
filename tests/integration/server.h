#pragma once

#include <filesystem>
#include <string>

namespace test {

// The package server stand-in that CTest starts for the run.
class PackageServer {
 public:
  PackageServer();
  // An http URL on the server for `target` (a path with any query, starting with '/').
  std::wstring Url(const std::string& target) const;
  // Places a file the server serves at "/<name>".
  void Publish(const std::string& name, const std::string& bytes) const;
  // The request log so far.
  std::string RequestLog() const;

 private:
  std::filesystem::path dir_;
  std::string port_;
};

}  // namespace test
