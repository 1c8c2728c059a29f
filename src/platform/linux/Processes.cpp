// The processes service on Linux (the mapping is described in Processes.h).
#include "platform/linux/Processes.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/linux/Trim.h"

namespace platform::linux {

namespace {

// Where the package installs the helper; the one path the polkit action lets pkexec run.
constexpr char InstalledHelper[] = "/usr/libexec/brisko/brisko-helper";

// The program's own process: paged out in-process, never through the helper.
constexpr uintptr_t OwnProcess = ~uintptr_t{0};

// Starts command with the socket as its standard input and output, nothing to say on standard error
// (pkexec's refusal would land in a terminal beside the program's own result), an empty
// environment, default signal handling and no blocked signals (whatever the toolkit set up for
// itself); its PID, or -1.
pid_t SpawnHelper(const THelperCommand& command, int socket) {
  if (command.empty()) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, socket, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, socket, STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  std::vector<char*> argv;
  for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  char* environment[] = {nullptr};
  pid_t helper = -1;
  if (posix_spawn(&helper, argv[0], &actions, &attributes, argv.data(), environment) != 0) helper = -1;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return helper;
}

uint32_t Narrow(uintptr_t handle) { return handle <= UINT32_MAX ? static_cast<uint32_t>(handle) : 0; }

}  // namespace

TProcesses::TProcesses(std::vector<std::string> helperPaths, THelperCommand elevatedHelper)
    : FHelperPaths(std::move(helperPaths)), FElevatedHelper(std::move(elevatedHelper)) {}

TProcesses::~TProcesses() { StopHelper(); }

void TProcesses::BeginTrim() {
  if (FTrims++ == 0) StartDirectHelper();
}

void TProcesses::EndTrim() {
  if (FTrims > 0 && --FTrims == 0) StopHelper();
}

bool TProcesses::StartHelper(const THelperCommand& command) {
  StopHelper();
  int ends[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return false;
  TFd mine(ends[0]);
  const TFd theirs(ends[1]);
  FHelper = SpawnHelper(command, theirs.Get());
  if (FHelper > 0) FSocket = std::move(mine);
  return FHelper > 0;
}

void TProcesses::StartDirectHelper() {
  for (const std::string& path : FHelperPaths)
    if (StartHelper({path})) return;
}

bool TProcesses::RaiseThroughElevatedHelper() {
  if (FElevatedHelper.empty() || FElevatedRefused || FTrims == 0) return false;
  if (StartHelper(FElevatedHelper) && Ask(THelperOp::RaisePrivilege, 0).Result == 1) return true;
  // Refused (not an active session, or no rule allows it): the answer stands for this run, and the
  // direct helper comes back for what needs no right.
  FElevatedRefused = true;
  StartDirectHelper();
  return false;
}

void TProcesses::StopHelper() {
  FSocket = TFd();
  if (FHelper > 0)
    while (waitpid(FHelper, nullptr, 0) < 0 && errno == EINTR) {
    }
  FHelper = -1;
}

THelperReply TProcesses::Ask(THelperOp op, uint32_t argument, std::vector<uint32_t>* ids) {
  THelperRequest request{op, argument};
  THelperReply reply;
  const bool answered = FSocket && SendRecord(FSocket.Get(), &request, sizeof request) &&
                        ReceiveRecord(FSocket.Get(), &reply, sizeof reply);
  bool complete = answered && (reply.Count == 0 || (ids && reply.Count <= HelperMaxProcesses));
  if (complete && reply.Count > 0) {
    ids->resize(reply.Count);
    complete = ReceiveRecord(FSocket.Get(), ids->data(), ids->size() * sizeof(uint32_t));
  }
  if (complete) return reply;
  // A helper that went away (the OOM killer may take it) or said what it must not: no more asking.
  if (FSocket) StopHelper();
  if (ids) ids->clear();
  return {};
}

TPrivilegeResult TProcesses::EnablePrivilege(const std::string& name) {
  if (name != "SeDebugPrivilege") return {};
  const bool raised = Ask(THelperOp::RaisePrivilege, 0).Result == 1 || RaiseThroughElevatedHelper();
  return {raised, raised};
}

bool TProcesses::EnumProcesses(uint32_t* ids, uint32_t bytes, uint32_t& returned) {
  std::vector<uint32_t> list;
  if (!FSocket || Ask(THelperOp::ListProcesses, 0, &list).Result != 1) list = ListProcesses();
  const size_t count = std::min<size_t>(list.size(), bytes / sizeof(uint32_t));
  std::copy_n(list.begin(), count, ids);
  returned = static_cast<uint32_t>(count * sizeof(uint32_t));
  return true;
}

uintptr_t TProcesses::OpenProcess(uint32_t, uint32_t pid) {
  if (pid == static_cast<uint32_t>(getpid())) return OwnProcess;
  return Ask(THelperOp::OpenProcess, pid).Result;
}

bool TProcesses::EmptyWorkingSet(uintptr_t process) {
  if (process == OwnProcess) return PageOutSelf() >= 0;
  return Ask(THelperOp::TrimProcess, Narrow(process)).Result == 1;
}

void TProcesses::CloseProcess(uintptr_t process) {
  if (process != OwnProcess) Ask(THelperOp::CloseProcess, Narrow(process));
}

void TProcesses::ReclaimWithinRights() { ReclaimOwnCgroup(); }

uintptr_t TProcesses::CommitBlock(uint32_t bytes) { return Ask(THelperOp::CommitBlock, bytes).Result; }

void TProcesses::ReleaseBlock(uintptr_t block) { Ask(THelperOp::ReleaseBlock, Narrow(block)); }

std::vector<std::string> HelperPaths(const std::string& executablePath) {
  const size_t slash = executablePath.rfind('/');
  std::vector<std::string> paths;
  if (slash != std::string::npos) paths.push_back(executablePath.substr(0, slash + 1) + "brisko-helper");
  paths.push_back(InstalledHelper);
  return paths;
}

THelperCommand ElevatedHelper() {
  constexpr char Pkexec[] = "/usr/bin/pkexec";
  if (access(Pkexec, X_OK) != 0 || access(InstalledHelper, X_OK) != 0) return {};
  // Without the textual agent pkexec never asks for a password on the helper's socket.
  return {Pkexec, "--disable-internal-agent", InstalledHelper};
}

}  // namespace platform::linux
