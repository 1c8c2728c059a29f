// The Windows processes service against the real system (Wine in CI, where emptying a working set
// succeeds without effect): the privilege, the process list and its full-buffer signal, the rights
// the working-set call needs, and committed blocks.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/win32/Processes.h"

using namespace platform;
using platform::win32::TProcesses;

TEST(Win32Processes, PrivilegesAreEnabledByNameAndUnknownOnesFail) {
  TProcesses processes;
  EXPECT_TRUE(processes.EnablePrivilege("SeDebugPrivilege").Succeeded);
  const TPrivilegeResult unknown = processes.EnablePrivilege("SeNoSuchPrivilege");
  EXPECT_FALSE(unknown.Succeeded);
  EXPECT_FALSE(unknown.Held);
}

TEST(Win32Processes, AFullBufferSaysTheListMayGoOnAndEveryListedProcessCanBeTrimmed) {
  TProcesses processes;
  uint32_t one = 0, returned = 0;
  ASSERT_TRUE(processes.EnumProcesses(&one, sizeof one, returned));
  EXPECT_EQ(returned, sizeof one);

  std::vector<uint32_t> ids(4096);
  ASSERT_TRUE(processes.EnumProcesses(ids.data(), static_cast<uint32_t>(ids.size() * 4), returned));
  ASSERT_LT(returned, ids.size() * 4);
  ids.resize(returned / 4);
  ASSERT_NE(std::find(ids.begin(), ids.end(), GetCurrentProcessId()), ids.end());
  size_t trimmed = 0;
  for (uint32_t pid : ids) {
    const uintptr_t process = processes.OpenProcess(ProcessSetQuota | ProcessQueryLimitedInformation, pid);
    if (!process) continue;
    trimmed += processes.EmptyWorkingSet(process) ? 1 : 0;
    processes.CloseProcess(process);
  }
  EXPECT_GE(trimmed, 2u);  // this program and at least one of the system's
}

TEST(Win32Processes, ABlockIsCommittedUncachedAndZeroAndReleasedWhole) {
  TProcesses processes;
  const uintptr_t block = processes.CommitBlock(1u << 20);
  ASSERT_NE(block, 0u);
  MEMORY_BASIC_INFORMATION info{};
  ASSERT_NE(VirtualQuery(reinterpret_cast<void*>(block), &info, sizeof info), 0u);
  EXPECT_EQ(info.State, static_cast<DWORD>(MEM_COMMIT));
  EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_READWRITE | PAGE_NOCACHE));
  EXPECT_GE(info.RegionSize, 1u << 20);
  const auto* bytes = reinterpret_cast<const unsigned char*>(block);
  EXPECT_TRUE(std::all_of(bytes, bytes + (1u << 20), [](unsigned char b) { return b == 0; }));
  processes.ReleaseBlock(block);
  ASSERT_NE(VirtualQuery(reinterpret_cast<void*>(block), &info, sizeof info), 0u);
  EXPECT_EQ(info.State, static_cast<DWORD>(MEM_FREE));
}
