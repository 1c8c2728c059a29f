// The process list through the processes service, whatever its length.
#include "platform/Processes.h"

namespace platform {

bool ReadProcessList(IProcesses& processes, std::vector<uint32_t>& ids) {
  ids.assign(256, 0);
  uint32_t returned = 0;
  for (;;) {
    const auto bytes = static_cast<uint32_t>(ids.size() * sizeof(uint32_t));
    if (!processes.EnumProcesses(ids.data(), bytes, returned)) {
      ids.clear();
      return false;
    }
    if (returned < bytes || ids.size() >= (1u << 24)) break;
    ids.resize(ids.size() * 2);
  }
  ids.resize(returned / sizeof(uint32_t));
  return true;
}

}  // namespace platform
