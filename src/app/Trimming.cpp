// Trimming's steps and texts (see Trimming.h).
#include "app/Trimming.h"

#include <vector>

#include "base/SysUtils.h"

bool EnableProcessPrivilege(const std::string& name, bool* held) {
  const platform::TPrivilegeResult result = platform::Host().Processes->EnablePrivilege(name);
  if (held) *held = result.Held;
  return result.Succeeded;
}

bool TrimAllWorkingSets(bool* reachedOthers) {
  platform::IProcesses& processes = *platform::Host().Processes;
  EnableProcessPrivilege("SeDebugPrivilege", reachedOthers);
  std::vector<uint32_t> ids;
  if (!platform::ReadProcessList(processes, ids)) return false;
  // Exactly the rights the working-set call needs; the limited query right exists from Windows Vista on.
  platform::TVersionInfo version;
  const bool limited = platform::Host().System->GetVersion(version) && version.MajorVersion >= 6;
  const uint32_t access =
      platform::ProcessSetQuota | (limited ? platform::ProcessQueryLimitedInformation : platform::ProcessQueryInformation);
  for (const uint32_t id : ids) {
    const uintptr_t process = processes.OpenProcess(access, id);
    if (!process) continue;
    processes.EmptyWorkingSet(process);
    processes.CloseProcess(process);
  }
  return true;
}

void EmptyClipboard() {
  platform::IClipboard& clipboard = *platform::Host().Clipboard;
  if (!clipboard.Open()) throw Exception("Cannot open clipboard");
  clipboard.Empty();
  clipboard.Close();
}

bool IsNtFamily() {
  platform::TVersionInfo version;
  return platform::Host().System->GetVersion(version) && version.PlatformId == platform::PlatformWin32NT;
}

std::string FreedText(uint64_t freeBefore, uint64_t freeAfter) {
  return "释放 " + std::to_string((freeAfter > freeBefore ? freeAfter - freeBefore : 0) >> 20) + "MB";
}

std::string RightsAdviceText(platform::TRightsAdvice advice) {
  if (advice == platform::TRightsAdvice::RunAsAdministrator)
    return "快速整理只整理了本用户的程序：整理其他程序需要调试程序的权限。\n"
           "请右击本程序，选择\"以管理员身份运行\"。";
  return "快速整理只整理了当前用户有权整理的内存：整理其他程序需要 CAP_SYS_NICE、CAP_SYS_PTRACE 和 CAP_FOWNER 能力。\n"
         "请以 root 身份运行本程序，或为 brisko-helper 授予这些能力：\n"
         "sudo setcap cap_sys_nice,cap_sys_ptrace,cap_fowner=ep brisko-helper";
}

std::string MissingRightText(platform::TRightsAdvice advice) {
  return advice == platform::TRightsAdvice::RunAsAdministrator
             ? "权限不足：整理其他程序需要调试程序的权限（以管理员身份运行）"
             : "权限不足：整理其他程序需要 CAP_SYS_NICE、CAP_SYS_PTRACE 和 CAP_FOWNER 能力";
}
