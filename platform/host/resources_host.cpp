#include "platform/host/resources_host.h"

#include <map>
#include <mutex>

#include "platform/resources.h"

namespace platform {
namespace {

struct Table {
  std::mutex lock;
  std::map<int, std::string> entries;
};

Table& HostTable() {
  static Table table;
  return table;
}

}  // namespace

void SetHostResource(int id, std::string bytes) {
  Table& table = HostTable();
  std::lock_guard guard(table.lock);
  table.entries[id] = std::move(bytes);
}

void ClearHostResources() {
  Table& table = HostTable();
  std::lock_guard guard(table.lock);
  table.entries.clear();
}

bool ReadRcData(ModuleRef, int id, std::string& bytes) {
  Table& table = HostTable();
  std::lock_guard guard(table.lock);
  const auto found = table.entries.find(id);
  if (found == table.entries.end()) return false;
  bytes = found->second;
  return true;
}

}  // namespace platform
