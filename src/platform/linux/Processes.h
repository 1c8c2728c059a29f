// The processes service on Linux. Everything privileged happens in brisko-helper, which the program
// starts for the length of a trim and asks over a socket (HelperProtocol.h); the program itself holds
// no capability and pages out only its own memory. Where the helper's file carries no capabilities,
// the installed helper is run as root through pkexec, which the package's polkit action allows to
// active local sessions without a password.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/Processes.h"
#include "platform/linux/Files.h"
#include "platform/linux/HelperProtocol.h"

namespace platform::linux {

// A command that starts brisko-helper: the program's path and its arguments.
using THelperCommand = std::vector<std::string>;

// Mapping:
// - BeginTrim starts the helper (the first of the given paths that runs), EndTrim closes its socket
//   and waits for it; the helper releases whatever it still holds when it goes.
// - EnablePrivilege("SeDebugPrivilege"): the helper raises CAP_SYS_NICE (with CAP_SYS_PTRACE and
//   CAP_FOWNER where permitted). When it cannot, the elevated helper takes its place if it can; once
//   refused, it is not asked again in this run. Succeeded and Held both tell whether either could.
//   Other names are not known.
// - EnumProcesses: the numeric /proc entries without kernel threads or zombies, listed by the helper
//   during a trim and by the program itself otherwise (listing them needs no right; opening them does).
// - OpenProcess: the helper pins the process with a pidfd (the access asked for is what paging out
//   needs, whatever the number); the program's own PID is opened in-process.
// - EmptyWorkingSet: process_madvise(MADV_PAGEOUT) over the process's mappings in the helper;
//   madvise(MADV_PAGEOUT) over the program's own.
// - ReclaimWithinRights: the user's delegated cgroup v2 memory.reclaim; the advice for missing rights
//   is the capability (or root).
// - CommitBlock / ReleaseBlock: 1 MiB blocks committed and held by the helper, refused when the
//   system's reserve or a memory cgroup limit would be crossed; 0 without a helper.
class TProcesses : public platform::IProcesses {
public:
  explicit TProcesses(std::vector<std::string> helperPaths, THelperCommand elevatedHelper = {});
  ~TProcesses() override;
  TProcesses(const TProcesses&) = delete;
  TProcesses& operator=(const TProcesses&) = delete;

  void BeginTrim() override;
  void EndTrim() override;
  TPrivilegeResult EnablePrivilege(const std::string& name) override;
  bool EnumProcesses(uint32_t* ids, uint32_t bytes, uint32_t& returned) override;
  uintptr_t OpenProcess(uint32_t access, uint32_t pid) override;
  bool EmptyWorkingSet(uintptr_t process) override;
  void CloseProcess(uintptr_t process) override;
  void ReclaimWithinRights() override;
  TRightsAdvice RightsAdvice() const override { return TRightsAdvice::GrantCapability; }
  uintptr_t CommitBlock(uint32_t bytes) override;
  void ReleaseBlock(uintptr_t block) override;

  // Whether a helper is running (for tests).
  bool HasHelper() const { return static_cast<bool>(FSocket); }

private:
  // Stops the running helper, then starts command; false when it does not run.
  bool StartHelper(const THelperCommand& command);
  void StartDirectHelper();
  bool RaiseThroughElevatedHelper();
  void StopHelper();
  // One request and its reply; a reply of 0 when there is no helper or it went away.
  THelperReply Ask(THelperOp op, uint32_t argument, std::vector<uint32_t>* ids = nullptr);

  std::vector<std::string> FHelperPaths;
  THelperCommand FElevatedHelper;
  bool FElevatedRefused = false;
  int FTrims = 0;
  TFd FSocket;
  pid_t FHelper = -1;
};

// Where brisko-helper is looked for: beside the program, then where the packages install it.
std::vector<std::string> HelperPaths(const std::string& executablePath);

// The installed helper through pkexec when both are there; empty otherwise.
THelperCommand ElevatedHelper();

}  // namespace platform::linux
