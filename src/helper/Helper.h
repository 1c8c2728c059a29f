// brisko-helper's server: answers the program's requests (see HelperProtocol.h) with the Linux
// trimming services. Every argument is checked against what the helper itself handed out; a process
// is only ever reached through the pidfd that pinned it when it was opened.
#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/linux/Files.h"
#include "platform/linux/HelperProtocol.h"

namespace helper {

class THelper {
public:
  THelper();
  ~THelper();
  THelper(const THelper&) = delete;
  THelper& operator=(const THelper&) = delete;

  // The reply to one request; a process list comes back in ids.
  platform::linux::THelperReply Answer(const platform::linux::THelperRequest& request, std::vector<uint32_t>& ids);

  // Answers requests read from in on out until the program closes its end; false on a broken stream.
  bool Serve(int in, int out);

private:
  struct TProcess {
    platform::linux::TFd Pidfd;
    uint32_t Pid = 0;
  };
  uint32_t OpenProcess(uint32_t pid);
  bool TrimProcess(uint32_t handle);
  uint32_t CommitBlock(uint32_t bytes);
  bool ReleaseBlock(uint32_t handle);
  uint32_t NextHandle();

  bool FWithSwap;
  uint32_t FLastHandle = 0;
  std::unordered_map<uint32_t, TProcess> FProcesses;
  std::unordered_map<uint32_t, void*> FBlocks;
};

}  // namespace helper
