// Trimming on Linux (see Trim.h). What other processes wrote (their maps, their names) is read
// through the bounds-checked parsers of ProcText; numbers through std::from_chars.
#include "platform/linux/Trim.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/linux/Files.h"

namespace platform::linux {

namespace {

constexpr uint64_t KernelThread = 0x00200000;  // PF_KTHREAD
constexpr size_t RegionsPerCall = 1024;        // UIO_MAXIOV
constexpr size_t ProcTextLimit = 64u << 20;
constexpr uint64_t MiB = 1u << 20;
constexpr uint64_t MaxPid = 1u << 22;             // PID_MAX_LIMIT
constexpr uint64_t NoLimit = uint64_t{1} << 62;
#ifndef MADV_POPULATE_WRITE
constexpr int MADV_POPULATE_WRITE = 23;
#endif

std::string ReadProc(const std::string& path) {
  std::string text, why;
  return ReadFile(path, ProcTextLimit, text, why) == TReadResult::Ok ? text : std::string();
}

// Special mappings are named in brackets; the heap, the stacks and named anonymous memory are the
// process's own.
bool IsSpecial(std::string_view path) {
  return path.starts_with('[') && !path.starts_with("[heap]") && !path.starts_with("[stack") &&
         !path.starts_with("[anon:");
}

// The folder of a cgroup path under a mount whose root is root.
std::string UnderMount(const TMount& mount, std::string_view path) {
  if (mount.Root != "/" && path.starts_with(mount.Root)) path.remove_prefix(mount.Root.size());
  return mount.Point + std::string(path == "/" ? "" : path);
}

TCgroupFolder OwnMemoryCgroup() {
  return MemoryCgroupFolder(ParseCgroupPaths(ReadProc("/proc/self/cgroup")), ParseMountInfo(ReadProc("/proc/self/mountinfo")));
}

// The process's cgroup folder and those above it, up to and without the hierarchy's root (the whole
// system, which has no limit and is not the user's to reclaim).
std::vector<std::string> FoldersAbove(const TCgroupFolder& cgroup) {
  std::vector<std::string> folders;
  for (std::string at = cgroup.Folder; at.size() > cgroup.Mount.size(); at = at.substr(0, at.rfind('/')))
    folders.push_back(at);
  return folders;
}

bool Exited(int pidfd) {
  pollfd poll{pidfd, POLLIN, 0};
  return ::poll(&poll, 1, 0) != 0;
}

}  // namespace

std::vector<uint32_t> ListProcesses() {
  std::vector<uint32_t> pids;
  DIR* proc = opendir("/proc");
  if (!proc) return pids;
  while (const dirent* entry = readdir(proc)) {
    uint64_t pid;
    if (ParseDecimal(entry->d_name, pid) && pid > 0 && pid <= MaxPid && IsListedProcess(static_cast<uint32_t>(pid)))
      pids.push_back(static_cast<uint32_t>(pid));
  }
  closedir(proc);
  std::sort(pids.begin(), pids.end());
  return pids;
}

bool IsListedProcess(uint32_t pid) {
  TProcStat stat;
  return ParseProcStat(ReadProc("/proc/" + std::to_string(pid) + "/stat"), stat) && !(stat.Flags & KernelThread) &&
         stat.State != 'Z' && stat.State != 'X';
}

TFd PinProcess(uint32_t pid) {
  if (pid == 0 || pid > MaxPid) return {};
  TFd pidfd(static_cast<int>(syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0u)));
  // Checked once pinned: what the check saw is then the pinned process, or it has exited.
  if (!pidfd || !IsListedProcess(pid) || Exited(pidfd.Get())) return {};
  return pidfd;
}

std::vector<iovec> PageOutRegions(const std::vector<TMapping>& mappings, bool withSwap) {
  std::vector<iovec> regions;
  for (const TMapping& m : mappings) {
    if (IsSpecial(m.Path) || (!withSwap && m.Inode == 0)) continue;
    regions.push_back({reinterpret_cast<void*>(static_cast<uintptr_t>(m.Start)), static_cast<size_t>(m.End - m.Start)});
  }
  return regions;
}

int64_t PageOutProcess(int pidfd, std::span<const iovec> source) {
  std::vector<iovec> regions(source.begin(), source.end());
  int64_t done = 0;
  for (size_t i = 0; i < regions.size();) {
    const size_t count = std::min(RegionsPerCall, regions.size() - i);
    const long advised = syscall(SYS_process_madvise, pidfd, &regions[i], count, MADV_PAGEOUT, 0u);
    if (advised < 0 && (errno == EPERM || errno == ESRCH || errno == EBADF)) return done > 0 ? done : -1;
    if (advised <= 0) {
      ++i;  // the kernel refuses this region (locked, a device, unmapped meanwhile): the others still go
      continue;
    }
    done += advised;
    auto left = static_cast<size_t>(advised);
    for (; i < regions.size() && left >= regions[i].iov_len; ++i) left -= regions[i].iov_len;
    if (left > 0) {
      regions[i].iov_base = static_cast<char*>(regions[i].iov_base) + left;
      regions[i].iov_len -= left;
    }
  }
  return done;
}

int64_t TrimProcess(int pidfd, uint32_t pid, bool withSwap) {
  const std::string maps = ReadProc("/proc/" + std::to_string(pid) + "/maps");
  // A running process always has mappings: none means the caller may not read them. The text is the
  // pinned process's only while it still runs (its PID is not yet reused).
  if (maps.empty() || Exited(pidfd)) return -1;
  return PageOutProcess(pidfd, PageOutRegions(ParseMaps(maps), withSwap));
}

int64_t PageOutSelf() {
  int64_t done = 0;
  for (const iovec& region : PageOutRegions(ParseMaps(ReadProc("/proc/self/maps")), SwapConfigured()))
    if (madvise(region.iov_base, region.iov_len, MADV_PAGEOUT) == 0) done += static_cast<int64_t>(region.iov_len);
  return done;
}

bool SwapConfigured() { return ProcFieldBytes(ReadProc("/proc/meminfo"), "SwapTotal") > 0; }

TCgroupFolder MemoryCgroupFolder(const TCgroupPaths& paths, const std::vector<TMount>& mounts) {
  for (const TMount& mount : mounts) {
    const std::string folder = UnderMount(mount, paths.Unified);
    if (mount.Type == "cgroup2" && !paths.Unified.empty() && access((folder + "/memory.current").c_str(), R_OK) == 0)
      return {folder, mount.Point, true};
  }
  for (const TMount& mount : mounts) {
    if (mount.Type == "cgroup" && HasOption(mount.SuperOptions, "memory") && !paths.Memory.empty())
      return {UnderMount(mount, paths.Memory), mount.Point, false};
  }
  return {};
}

bool ReclaimOwnCgroup() {
  const TCgroupFolder cgroup = OwnMemoryCgroup();
  if (!cgroup.Version2) return false;
  // The highest folder the user may ask: a delegated subtree is writable from its top down.
  std::string target;
  for (const std::string& at : FoldersAbove(cgroup)) {
    if (access((at + "/memory.reclaim").c_str(), W_OK) != 0) break;
    target = at;
  }
  uint64_t usage = 0;
  if (target.empty() || !ParseDecimal(ReadProc(target + "/memory.current"), usage) || usage == 0) return false;
  const std::string amount = std::to_string(usage);
  const TFd file(open((target + "/memory.reclaim").c_str(), O_WRONLY | O_CLOEXEC));
  // EAGAIN: less than asked could be reclaimed, and that much was.
  return file && (write(file.Get(), amount.data(), amount.size()) > 0 || errno == EAGAIN);
}

TMemoryRoom ReadMemoryRoom() {
  TMemoryRoom room;
  const std::string meminfo = ReadProc("/proc/meminfo");
  room.Total = ProcFieldBytes(meminfo, "MemTotal");
  room.Available = ProcFieldBytes(meminfo, "MemAvailable");
  const TCgroupFolder cgroup = OwnMemoryCgroup();
  const char* limitFile = cgroup.Version2 ? "/memory.max" : "/memory.limit_in_bytes";
  const char* usageFile = cgroup.Version2 ? "/memory.current" : "/memory.usage_in_bytes";
  const char* cacheField = cgroup.Version2 ? "inactive_file" : "total_inactive_file";
  for (const std::string& at : FoldersAbove(cgroup)) {
    TCgroupRoom group;
    // "max" (v2) and a page-rounded 2^63 (v1) are no limit.
    if (!ParseDecimal(ReadProc(at + limitFile), group.Limit) || group.Limit >= NoLimit ||
        !ParseDecimal(ReadProc(at + usageFile), group.Usage))
      continue;
    // The cgroup's inactive page cache goes before it runs out: it is room, as in MemAvailable.
    group.Usage -= std::min(group.Usage, StatField(ReadProc(at + "/memory.stat"), cacheField));
    room.Cgroups.push_back(group);
  }
  return room;
}

bool BlockFits(const TMemoryRoom& room, uint64_t bytes) {
  const uint64_t reserve = std::max<uint64_t>(256 * MiB, room.Total / 20);
  if (room.Available < reserve || room.Available - reserve < bytes) return false;
  return std::all_of(room.Cgroups.begin(), room.Cgroups.end(), [bytes](const TCgroupRoom& group) {
    const uint64_t margin = std::max<uint64_t>(16 * MiB, group.Limit / 20);
    return group.Limit >= margin && group.Usage <= group.Limit - margin && group.Limit - margin - group.Usage >= bytes;
  });
}

void* CommitMemoryBlock(size_t bytes) {
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) return nullptr;
  // Reading would map the shared zero page; only writing makes the kernel supply memory.
  if (madvise(block, bytes, MADV_POPULATE_WRITE) != 0) {
    const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    for (size_t at = 0; at < bytes; at += page) static_cast<volatile char*>(block)[at] = 0;
  }
  return block;
}

void ReleaseMemoryBlock(void* block, size_t bytes) { munmap(block, bytes); }

}  // namespace platform::linux
