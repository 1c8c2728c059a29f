// The command-line trim: the quick trim's steps without its window, gauge or clipboard.
#include "app/TrimCommand.h"

#include <exception>
#include <string>

#include "app/Trimming.h"
#include "platform/Host.h"

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
  const std::string freed = FreedText(freeBefore, freeAfter);
  if (reachedOthers) {
    std::fprintf(out, "%s\n", freed.c_str());
    return 0;
  }
  std::fprintf(out, "%s（%s）\n", freed.c_str(), MissingRightText(processes.RightsAdvice()).c_str());
  return 2;
}
