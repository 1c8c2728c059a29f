// The /proc text parsers against the kernel's formats, including what other users' processes can put
// into them (names with blanks and parentheses, paths with blanks), and the deep trim's room rule.
#include <gtest/gtest.h>

#include "platform/linux/ProcText.h"
#include "platform/linux/Trim.h"

using namespace platform::linux;

namespace {
constexpr uint64_t MiB = 1u << 20;
}

TEST(ProcText, MapsLinesKeepTheirRangesInodesAndPaths) {
  const auto maps = ParseMaps(
      "55d0c0a00000-55d0c0a21000 r--p 00000000 fe:01 1835043                    /usr/bin/my prog (1)\n"
      "7ffd5b7f2000-7ffd5b813000 rw-p 00000000 00:00 0                          [stack]\n"
      "7f0000000000-7f0000001000 rw-p 00000000 00:00 0\n"
      "garbage line\n"
      "7f0000002000-7f0000001000 rw-p 00000000 00:00 0\n"  // ends before it starts
      "ffffffffff600000-ffffffffff601000 --xp 00000000 00:00 0                  [vsyscall]");
  ASSERT_EQ(maps.size(), 4u);
  EXPECT_EQ(maps[0].Start, 0x55d0c0a00000u);
  EXPECT_EQ(maps[0].End, 0x55d0c0a21000u);
  EXPECT_EQ(maps[0].Inode, 1835043u);
  EXPECT_EQ(maps[0].Path, "/usr/bin/my prog (1)");
  EXPECT_EQ(maps[2].Path, "");
  // Without swap only the file goes; the stack with it; the special [vsyscall] never.
  EXPECT_EQ(PageOutRegions(maps, false).size(), 1u);
  EXPECT_EQ(PageOutRegions(maps, true).size(), 3u);
}

TEST(ProcText, StatFieldsStartAfterTheLastParenthesis) {
  TProcStat stat;
  ASSERT_TRUE(ParseProcStat("1234 (a) S 1 2 (b) R 1 1 1 0 -1 4194560 99 0", stat));
  EXPECT_EQ(stat.State, 'R');
  EXPECT_EQ(stat.Flags, 4194560u);
  ASSERT_TRUE(ParseProcStat("2 (kthreadd) S 0 0 0 0 -1 2129984 0 0", stat));
  EXPECT_EQ(stat.Flags & 0x00200000u, 0x00200000u);
  EXPECT_FALSE(ParseProcStat("2 (kthreadd) S 0 0 0 0", stat));
  EXPECT_FALSE(ParseProcStat("no parenthesis", stat));
}

TEST(ProcText, TheMemoryCgroupIsFoundInEitherHierarchy) {
  const TCgroupPaths paths = ParseCgroupPaths(
      "12:cpu,cpuacct:/x\n4:memory:/process_api/abc\n1:name=systemd:/\n0::/user.slice/user-1000.slice\nbad\n");
  EXPECT_EQ(paths.Memory, "/process_api/abc");
  EXPECT_EQ(paths.Unified, "/user.slice/user-1000.slice");

  const auto mounts = ParseMountInfo(
      "35 31 0:32 / /sys/fs/cgroup/memory rw,relatime shared:9 - cgroup cgroup rw,memory\n"
      "41 31 0:38 / /mnt/with\\040blank rw,relatime - cgroup2 cgroup2 rw\n"
      "42 31 0:39 / /short -\n");
  ASSERT_EQ(mounts.size(), 2u);
  EXPECT_EQ(mounts[0].Type, "cgroup");
  EXPECT_TRUE(HasOption(mounts[0].SuperOptions, "memory"));
  EXPECT_EQ(mounts[1].Point, "/mnt/with blank");
  // The cgroup2 folder has no memory.current there, so the version 1 controller is the one.
  const TCgroupFolder folder = MemoryCgroupFolder(paths, mounts);
  EXPECT_EQ(folder.Folder, "/sys/fs/cgroup/memory/process_api/abc");
  EXPECT_EQ(folder.Mount, "/sys/fs/cgroup/memory");
  EXPECT_FALSE(folder.Version2);

  EXPECT_EQ(StatField("cache 5\ntotal_inactive_file 4096\ninactive_file 1\n", "total_inactive_file"), 4096u);
}

TEST(ProcText, ABlockLeavesTheReserveAndEveryCgroupMargin) {
  TMemoryRoom room{8192 * MiB, 512 * MiB, {}};
  EXPECT_TRUE(BlockFits(room, 102 * MiB));   // the reserve is 5 % of 8 GiB: 409.6 MiB
  EXPECT_FALSE(BlockFits(room, 103 * MiB));
  room.Total = 1024 * MiB;                    // 5 % is less than 256 MiB
  EXPECT_TRUE(BlockFits(room, 256 * MiB));
  EXPECT_FALSE(BlockFits(room, 256 * MiB + 1));
  room.Available = 100 * MiB;
  EXPECT_FALSE(BlockFits(room, 0));

  room.Available = 4096 * MiB;
  room.Cgroups = {{1000 * MiB, 900 * MiB}};  // a margin of 50 MiB
  EXPECT_TRUE(BlockFits(room, 50 * MiB));
  EXPECT_FALSE(BlockFits(room, 50 * MiB + 1));
  room.Cgroups = {{10 * MiB, 0}};            // smaller than its margin
  EXPECT_FALSE(BlockFits(room, 1));
}
