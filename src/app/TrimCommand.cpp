// The command-line trim: the quick trim's steps without its window, gauge or clipboard.
#include "app/TrimCommand.h"

#include <exception>
#include <string>

#include "app/uMain.h"
#include "platform/Host.h"

namespace {

const char* MissingRight(platform::TRightsAdvice advice) {
  return advice == platform::TRightsAdvice::RunAsAdministrator
             ? "权限不足：整理其他程序需要调试程序的权限（以管理员身份运行）"
             : "权限不足：整理其他程序需要 CAP_SYS_NICE、CAP_SYS_PTRACE 和 CAP_FOWNER 能力";
}

}  // namespace

int RunTrimCommand(std::FILE* out) {
  platform::IProcesses& processes = *platform::Host().Processes;
  platform::ISystem& system = *platform::Host().System;
  bool reachedOthers = false, listed = false;
  uint64_t freeBefore = 0, freeAfter = 0;
  try {
    const TTrimScope scope;
    freeBefore = system.FreePhysicalMemory();
    listed = TrimAllWorkingSets(&reachedOthers);
    if (listed && !reachedOthers) processes.ReclaimWithinRights();
    freeAfter = system.FreePhysicalMemory();
  } catch (const std::exception& error) {
    std::fprintf(out, "brisko: %s\n", error.what());
    return 1;
  }
  if (!listed) {
    std::fputs("brisko: the process list cannot be read\n", out);
    return 1;
  }
  const std::string freed = "释放 " + std::to_string((freeAfter > freeBefore ? freeAfter - freeBefore : 0) >> 20) + "MB";
  if (reachedOthers) {
    std::fprintf(out, "%s\n", freed.c_str());
    return 0;
  }
  std::fprintf(out, "%s（%s）\n", freed.c_str(), MissingRight(processes.RightsAdvice()));
  return 2;
}
