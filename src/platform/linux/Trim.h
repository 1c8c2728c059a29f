// Trimming on Linux, shared by the program and its privileged helper: the process list, paging a
// process's memory out (process_madvise(MADV_PAGEOUT) over its mappings), the user's own memory
// cgroup asked to reclaim, and the deep trim's blocks with the room the system must keep.
#pragma once
#include <sys/types.h>
#include <sys/uio.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/Files.h"
#include "platform/linux/ProcText.h"

namespace platform::linux {

// The numeric entries of /proc that are processes of their own: no kernel threads (PF_KTHREAD in
// /proc/PID/stat), no zombies.
std::vector<uint32_t> ListProcesses();

// Whether the process pid (still) is one ListProcesses lists.
bool IsListedProcess(uint32_t pid);

// A pidfd for the process pid while it is one ListProcesses lists: the descriptor refers to that
// process and never to another that reuses its PID later. Empty otherwise.
TFd PinProcess(uint32_t pid);

// The regions worth paging out: every mapping but the special ones the kernel keeps ([vsyscall]
// fails a whole call; [vdso], [vvar] and their kind are not the process's memory). Without swap only
// file-backed regions: anonymous pages have nowhere to go.
std::vector<iovec> PageOutRegions(const std::vector<TMapping>& mappings, bool withSwap);

// process_madvise(MADV_PAGEOUT) over the regions of the process pidfd pins, 1024 regions per call; a
// partial result resumes at the exact byte, a region the kernel refuses (locked, a device, unmapped
// meanwhile) is passed over. Answers the bytes advised, or -1 when the process itself was refused.
int64_t PageOutProcess(int pidfd, std::span<const iovec> regions);

// Pages out the process pidfd pins (its PID is pid), over the mappings read after pinning; -1 when
// the process exited meanwhile, its mappings could not be read, or it refused.
int64_t TrimProcess(int pidfd, uint32_t pid, bool withSwap);

// The same for the calling process, with madvise; no privilege needed.
int64_t PageOutSelf();

// Whether swap is configured (SwapTotal of /proc/meminfo above 0).
bool SwapConfigured();

// The memory cgroup version 2 closest to the root that holds the calling process and whose
// memory.reclaim the user may write (systemd delegates the user manager's subtree), asked to reclaim
// everything it can. False when there is none (no cgroup v2 memory controller, kernels before 5.19).
bool ReclaimOwnCgroup();

// The memory cgroups above the calling process that have a limit: the limit and the present usage
// less the inactive page cache, from cgroup v2 (memory.max, memory.current, memory.stat) or the v1
// memory controller (memory.limit_in_bytes, memory.usage_in_bytes, memory.stat).
struct TCgroupRoom {
  uint64_t Limit = 0;
  uint64_t Usage = 0;
};

// The room a deep-trim block needs: what the system has available and the cgroups' limits.
struct TMemoryRoom {
  uint64_t Total = 0;      // MemTotal
  uint64_t Available = 0;  // MemAvailable
  std::vector<TCgroupRoom> Cgroups;
};
TMemoryRoom ReadMemoryRoom();

// Whether a block of bytes may be committed: it leaves the system a reserve of max(256 MiB, 5 % of
// MemTotal) available, and no cgroup above the caller closer than max(16 MiB, 5 %) to its limit.
bool BlockFits(const TMemoryRoom& room, uint64_t bytes);

// A block of bytes with every page backed by physical memory (MADV_POPULATE_WRITE, or one byte
// written per page on kernels before 5.14); null when the system cannot supply it.
void* CommitMemoryBlock(size_t bytes);
void ReleaseMemoryBlock(void* block, size_t bytes);

// The memory controller's folder for a process's cgroup paths under the mount table: version 2
// where its memory.current can be read, else the version 1 memory controller's; empty without either.
struct TCgroupFolder {
  std::string Folder;  // the process's cgroup
  std::string Mount;   // the hierarchy's root
  bool Version2 = false;
};
TCgroupFolder MemoryCgroupFolder(const TCgroupPaths& paths, const std::vector<TMount>& mounts);

}  // namespace platform::linux
