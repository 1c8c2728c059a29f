// Trimming on Linux against real processes and the real helper: a child that has read a mapped file
// is paged out when the right is there and left alone when it is not, also through the elevated
// helper; the helper refuses what it did not hand out, and deep-trim blocks that would cross a memory
// cgroup's limit.
#include <gtest/gtest.h>
#include <sys/capability.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "helper/Helper.h"
#include "platform/linux/ProcText.h"
#include "platform/linux/Processes.h"
#include "platform/linux/Trim.h"

using namespace platform;
using namespace platform::linux;
namespace fs = std::filesystem;

namespace {

constexpr size_t MiB = 1u << 20;
constexpr size_t FileBytes = 64 * MiB;

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A child process that maps a file and reads every page of it, then waits to be ended.
class TFileReader {
public:
  explicit TFileReader(const std::string& path) {
    int ready[2];
    if (pipe(ready) != 0) return;
    FPid = fork();
    if (FPid == 0) {
      const int file = open(path.c_str(), O_RDONLY);
      const void* map = mmap(nullptr, FileBytes, PROT_READ, MAP_SHARED, file, 0);
      if (map == MAP_FAILED) _exit(1);
      volatile unsigned sum = 0;
      for (size_t at = 0; at < FileBytes; at += 4096) sum = sum + static_cast<const unsigned char*>(map)[at];
      (void)!write(ready[1], "r", 1);
      for (;;) pause();
    }
    char byte;
    (void)!read(ready[0], &byte, 1);
    close(ready[0]);
    close(ready[1]);
  }
  ~TFileReader() {
    kill(FPid, SIGKILL);
    waitpid(FPid, nullptr, 0);
  }
  TFileReader(const TFileReader&) = delete;
  TFileReader& operator=(const TFileReader&) = delete;

  pid_t Pid() const { return FPid; }
  uint64_t ResidentFileBytes() const { return ProcFieldBytes(ReadText("/proc/" + std::to_string(FPid) + "/status"), "RssFile"); }

private:
  pid_t FPid = -1;
};

class ProcessesTest : public ::testing::Test {
protected:
  void SetUp() override {
    FFile = fs::temp_directory_path() / ("brisko-trim-" + std::to_string(getpid()));
    // On disk, not tmpfs: shared memory pages have nowhere to go without swap.
    if (fs::exists("/var/tmp")) FFile = "/var/tmp" / FFile.filename();
    std::ofstream out(FFile, std::ios::binary);
    const std::string megabyte(MiB, 'x');
    for (size_t i = 0; i < FileBytes / MiB; ++i) out << megabyte;
  }
  void TearDown() override { fs::remove(FFile); }

  // Trims the process pid as the program's quick trim does, in a fresh helper.
  static bool Trim(TProcesses& processes, pid_t pid) {
    const uintptr_t process = processes.OpenProcess(ProcessSetQuota | ProcessQueryLimitedInformation, static_cast<uint32_t>(pid));
    const bool trimmed = process && processes.EmptyWorkingSet(process);
    if (process) processes.CloseProcess(process);
    return trimmed;
  }

  fs::path FFile;
};

// Root with every capability a trim needs in its bounding set (containers often leave some out).
bool RootWithTrimCapabilities() {
  for (int cap : {CAP_SYS_NICE, CAP_SYS_PTRACE, CAP_FOWNER})
    if (prctl(PR_CAPBSET_READ, cap, 0, 0, 0) != 1) return false;
  return getuid() == 0;
}

// The real user of this process's child brisko-helper; -1 when there is none.
long HelperUid() {
  for (const auto& entry : fs::directory_iterator("/proc")) {
    std::ifstream in(entry.path() / "status");
    std::string name;
    long parent = -1, uid = -1;
    for (std::string line, key; std::getline(in, line);) {
      std::istringstream fields(line);
      fields >> key;
      if (key == "Name:") fields >> name;
      if (key == "PPid:") fields >> parent;
      if (key == "Uid:") fields >> uid;
    }
    if (name == "brisko-helper" && parent == getpid()) return uid;
  }
  return -1;
}

// Runs check in a child process; its answer becomes the exit status.
int InChild(const std::function<int()>& check) {
  const pid_t child = fork();
  if (child == 0) _exit(check());
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

TEST_F(ProcessesTest, WithTheRightAProcessThatReadAFileGivesItsPagesBack) {
  if (!RootWithTrimCapabilities()) GTEST_SKIP() << "needs root with the trimming capabilities";
  TFileReader reader(FFile);
  const uint64_t before = reader.ResidentFileBytes();
  ASSERT_GT(before, FileBytes * 9 / 10);

  TProcesses processes({"/nonexistent/brisko-helper", BRISKO_HELPER});
  processes.BeginTrim();
  ASSERT_TRUE(processes.HasHelper());
  EXPECT_TRUE(processes.EnablePrivilege("SeDebugPrivilege").Held);
  std::vector<uint32_t> ids(1 << 16);
  uint32_t returned = 0;
  ASSERT_TRUE(processes.EnumProcesses(ids.data(), static_cast<uint32_t>(ids.size() * 4), returned));
  ids.resize(returned / 4);
  EXPECT_NE(std::find(ids.begin(), ids.end(), static_cast<uint32_t>(reader.Pid())), ids.end());
  EXPECT_NE(std::find(ids.begin(), ids.end(), static_cast<uint32_t>(getpid())), ids.end());
  EXPECT_EQ(std::find(ids.begin(), ids.end(), 2u), ids.end());  // kthreadd

  EXPECT_TRUE(Trim(processes, reader.Pid()));
  EXPECT_LT(reader.ResidentFileBytes(), before / 10);
  processes.EndTrim();
  EXPECT_FALSE(processes.HasHelper());
}

TEST_F(ProcessesTest, WithoutTheRightNothingIsReportedDone) {
  if (!RootWithTrimCapabilities()) GTEST_SKIP() << "needs root with the trimming capabilities";
  TFileReader reader(FFile);
  const uint64_t before = reader.ResidentFileBytes();
  // Root without CAP_SYS_NICE: the helper started from here cannot get it either, and the elevated
  // route refuses (as pkexec does outside an active session).
  const fs::path asked = fs::temp_directory_path() / ("brisko-asked-" + std::to_string(getpid()));
  EXPECT_EQ(InChild([&] {
              if (prctl(PR_CAPBSET_DROP, CAP_SYS_NICE, 0, 0, 0) != 0) return 10;
              TProcesses processes({BRISKO_HELPER}, {"/bin/sh", "-c", "echo >>" + asked.string() + "; exit 127"});
              processes.BeginTrim();
              const TPrivilegeResult privilege = processes.EnablePrivilege("SeDebugPrivilege");
              if (privilege.Succeeded || privilege.Held) return 11;
              if (Trim(processes, reader.Pid())) return 12;
              if (!processes.HasHelper()) return 13;  // the direct helper is back for the deep trim's blocks
              processes.EndTrim();
              processes.BeginTrim();
              return processes.EnablePrivilege("SeDebugPrivilege").Held ? 14 : 0;
            }),
            0);
  EXPECT_GT(reader.ResidentFileBytes(), before * 9 / 10);
  EXPECT_EQ(ReadText(asked), "\n");  // refused once, not asked again
  fs::remove(asked);
}

TEST_F(ProcessesTest, WhereNoHelperCanRiseTheElevatedOneTrimsAsTheUserWhoAsked) {
  if (!RootWithTrimCapabilities()) GTEST_SKIP() << "needs root with the trimming capabilities";
  TFileReader reader(FFile);  // root's process, reading root's file
  const uint64_t before = reader.ResidentFileBytes();
  // Started as root with the asking user named, as pkexec starts it.
  EXPECT_EQ(InChild([&] {
              TProcesses processes({"/nonexistent/brisko-helper"}, {"/usr/bin/env", "PKEXEC_UID=65534", BRISKO_HELPER});
              processes.BeginTrim();
              if (!processes.EnablePrivilege("SeDebugPrivilege").Held) return 11;
              if (HelperUid() != 65534) return 12;
              return Trim(processes, reader.Pid()) ? 0 : 13;
            }),
            0);
  EXPECT_LT(reader.ResidentFileBytes(), before / 10);
}

TEST_F(ProcessesTest, AnOrdinaryUserTrimsOtherUsersProcessesThroughTheHelpersFileCapabilities) {
  if (!RootWithTrimCapabilities()) GTEST_SKIP() << "needs root with the trimming capabilities";
  // A copy of the helper that any user may run, with the capabilities a package would give it.
  const fs::path folder = fs::temp_directory_path() / ("brisko-caps-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path helper = folder / "brisko-helper";
  fs::copy_file(BRISKO_HELPER, helper, fs::copy_options::overwrite_existing);
  fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                              fs::perms::others_exec);
  cap_t caps = cap_from_text("cap_sys_nice,cap_sys_ptrace,cap_fowner=ep");
  const bool given = caps && cap_set_file(helper.c_str(), caps) == 0;
  cap_free(caps);
  if (!given) {
    fs::remove_all(folder);
    GTEST_SKIP() << "this file system keeps no file capabilities";
  }
  TFileReader reader(FFile);  // root's process, reading root's file
  const uint64_t before = reader.ResidentFileBytes();
  EXPECT_EQ(InChild([&] {
              if (setgid(65534) != 0 || setuid(65534) != 0) return 10;
              TProcesses processes({helper.string()});
              processes.BeginTrim();
              if (!processes.EnablePrivilege("SeDebugPrivilege").Held) return 11;
              return Trim(processes, reader.Pid()) ? 0 : 12;
            }),
            0);
  EXPECT_LT(reader.ResidentFileBytes(), before / 10);
  fs::remove_all(folder);
}

TEST(Helper, RefusesWhatItDidNotHandOut) {
  helper::THelper server;
  std::vector<uint32_t> ids;
  auto ask = [&](THelperOp op, uint32_t argument) { return server.Answer({op, argument}, ids).Result; };
  EXPECT_EQ(ask(THelperOp::TrimProcess, 1), 0u);
  EXPECT_EQ(ask(THelperOp::CloseProcess, 7), 0u);
  EXPECT_EQ(ask(THelperOp::ReleaseBlock, 1), 0u);
  EXPECT_EQ(ask(THelperOp::OpenProcess, 0), 0u);
  EXPECT_EQ(ask(THelperOp::OpenProcess, 2), 0u);          // a kernel thread
  EXPECT_EQ(ask(THelperOp::OpenProcess, 1u << 30), 0u);   // beyond any PID
  EXPECT_EQ(ask(static_cast<THelperOp>(99), 0), 0u);
  EXPECT_EQ(ask(THelperOp::CommitBlock, HelperBlockSize + 1), 0u);

  // Handles name one thing each: a block's handle is no process and is released once.
  const uint32_t block = ask(THelperOp::CommitBlock, HelperBlockSize);
  ASSERT_NE(block, 0u);
  EXPECT_EQ(ask(THelperOp::TrimProcess, block), 0u);
  EXPECT_EQ(ask(THelperOp::ReleaseBlock, block), 1u);
  EXPECT_EQ(ask(THelperOp::ReleaseBlock, block), 0u);
  // Never more processes open at once than the helper allows.
  uint32_t opened = 0;
  while (ask(THelperOp::OpenProcess, static_cast<uint32_t>(getpid())) != 0 && opened <= HelperMaxOpenProcesses) ++opened;
  EXPECT_EQ(opened, HelperMaxOpenProcesses);
}

TEST(Helper, RefusesBlocksThatWouldCrossTheMemoryCgroupLimit) {
  const TCgroupFolder own = MemoryCgroupFolder(ParseCgroupPaths(ReadText("/proc/self/cgroup")),
                                               ParseMountInfo(ReadText("/proc/self/mountinfo")));
  const std::string group = own.Folder + "/brisko-test-" + std::to_string(getpid());
  if (own.Folder.empty() || mkdir(group.c_str(), 0755) != 0) GTEST_SKIP() << "no memory cgroup to make";
  std::ofstream(group + (own.Version2 ? "/memory.max" : "/memory.limit_in_bytes")) << 96 * MiB;
  // A program in a cgroup of 96 MiB asks for 1 GiB: the helper stops at the cgroup's margin, and
  // nothing is killed.
  const int blocks = InChild([&] {
    std::ofstream(group + "/cgroup.procs") << getpid();
    TProcesses processes({BRISKO_HELPER});
    processes.BeginTrim();
    int count = 0;
    while (count < 250 && processes.CommitBlock(HelperBlockSize)) ++count;
    const bool helperAlive = processes.HasHelper();
    processes.EndTrim();
    return helperAlive ? count : 255;
  });
  rmdir(group.c_str());
  EXPECT_GT(blocks, 40);
  EXPECT_LE(blocks, 80);  // 96 MiB less the margin of 16 MiB
}
