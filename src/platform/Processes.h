// The processes service the trims run on: the program's privilege, the process list, the working sets
// of other processes, and blocks of committed memory for the deep trim, with the Windows services'
// meanings and numbers. Failures come back as false, 0 or null handles, never as exceptions.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Access rights to a process, with the numbers the Windows services use.
constexpr uint32_t ProcessSetQuota = 0x0100;
constexpr uint32_t ProcessQueryInformation = 0x0400;
constexpr uint32_t ProcessQueryLimitedInformation = 0x1000;  // from Windows Vista (NT 6.0) on

struct TPrivilegeResult {
  bool Succeeded = false;  // what the system's call answered
  bool Held = false;       // whether the program holds the privilege now
};

// How a user who lacks the right to trim other programs can get it.
enum class TRightsAdvice { RunAsAdministrator, GrantCapability };

class IProcesses {
public:
  virtual ~IProcesses() = default;

  // A trim begins and ends; what the host holds for a trim (the Linux helper, its blocks) lives from the
  // first begin to the matching end. Trims may nest.
  virtual void BeginTrim() = 0;
  virtual void EndTrim() = 0;

  // Enables a privilege ("SeDebugPrivilege") in the program's own access token.
  virtual TPrivilegeResult EnablePrivilege(const std::string& name) = 0;
  // EnumProcesses: fills ids with up to bytes / 4 process identifiers and sets returned to the bytes
  // filled; false when the list cannot be read. A full buffer may mean a longer list.
  virtual bool EnumProcesses(uint32_t* ids, uint32_t bytes, uint32_t& returned) = 0;
  // OpenProcess: a handle to the process with the access rights, or 0.
  virtual uintptr_t OpenProcess(uint32_t access, uint32_t pid) = 0;
  // SetProcessWorkingSetSize(process, -1, -1): as many of its pages as possible leave physical memory.
  virtual bool EmptyWorkingSet(uintptr_t process) = 0;
  virtual void CloseProcess(uintptr_t process) = 0;
  // What a user without the privilege may still free: the memory the system lets the user reclaim
  // as a whole (a memory cgroup the user owns); nothing where there is no such thing.
  virtual void ReclaimWithinRights() = 0;
  virtual TRightsAdvice RightsAdvice() const = 0;

  // VirtualAlloc(bytes, MEM_COMMIT, PAGE_READWRITE | PAGE_NOCACHE) with every byte then written, so
  // that each page is backed by physical memory: a block, or 0 when the system cannot supply one (or
  // supplying it would leave too little for the other programs).
  virtual uintptr_t CommitBlock(uint32_t bytes) = 0;
  // VirtualFree(block, 0, MEM_RELEASE).
  virtual void ReleaseBlock(uintptr_t block) = 0;
};

// The whole process list: EnumProcesses with a buffer that grows until the system leaves some of it
// unused. False when the list cannot be read.
bool ReadProcessList(IProcesses& processes, std::vector<uint32_t>& ids);

}  // namespace platform
