// The processes service on Windows: the token's privileges, PSAPI's process list (loaded on first
// use), OpenProcess and SetProcessWorkingSetSize, VirtualAlloc and VirtualFree.
#pragma once
#include "platform/Processes.h"

namespace platform::win32 {

// Mapping:
// - EnablePrivilege → OpenProcessToken(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY), LookupPrivilegeValueW,
//   AdjustTokenPrivileges with a 16-byte previous state; Held is false on ERROR_NOT_ALL_ASSIGNED.
// - EnumProcesses → EnumProcesses of PSAPI.dll, looked up at first use (false when it is missing).
// - OpenProcess → OpenProcess(access, not inheritable); EmptyWorkingSet → SetProcessWorkingSetSize(-1, -1);
//   CloseProcess → CloseHandle.
// - CommitBlock → VirtualAlloc(MEM_COMMIT, PAGE_READWRITE | PAGE_NOCACHE), then every byte written 0;
//   ReleaseBlock → VirtualFree(MEM_RELEASE).
// - ReclaimWithinRights does nothing (Windows has no such thing for an ordinary user); the advice for
//   missing rights is to run the program as administrator. Begin and end of a trim hold nothing.
class TProcesses : public platform::IProcesses {
public:
  void BeginTrim() override {}
  void EndTrim() override {}
  TPrivilegeResult EnablePrivilege(const std::string& name) override;
  bool EnumProcesses(uint32_t* ids, uint32_t bytes, uint32_t& returned) override;
  uintptr_t OpenProcess(uint32_t access, uint32_t pid) override;
  bool EmptyWorkingSet(uintptr_t process) override;
  void CloseProcess(uintptr_t process) override;
  void ReclaimWithinRights() override {}
  TRightsAdvice RightsAdvice() const override { return TRightsAdvice::RunAsAdministrator; }
  uintptr_t CommitBlock(uint32_t bytes) override;
  void ReleaseBlock(uintptr_t block) override;
};

}  // namespace platform::win32
