// Kernel services on Windows.
// Mapping: GetVersion → RtlGetVersion (GetVersionExW where ntdll lacks it); GetMemoryStatus →
// GlobalMemoryStatusEx; CommandLineArgs → CommandLineToArgvW(GetCommandLineW()) without argv[0];
// ExecutablePath → GetModuleFileNameW (any length); priorities → Get/SetPriorityClass and
// Get/SetThreadPriority of the current process and thread; Sleep → Sleep; the time-stamp counter → RDTSC;
// CPUID and the identification-flag test → the instructions (X86.h); ProcessorCount → GetSystemInfo;
// the directories → GetWindowsDirectoryW, GetSystemDirectoryW, GetTempPathW; HostName and
// HostAddresses → Windows Sockets 1.1 (gethostname, gethostbyname, inet_ntoa), started per call;
// QuerySystemInformation → NtQuerySystemInformation, looked up in ntdll at first use; ThreadCount →
// a ToolHelp thread snapshot.
#pragma once
#include <string>
#include <string_view>

#include "platform/System.h"

namespace platform::win32 {

// Standard output to the console of the process that started this one, when this program (a
// window program, which has no console of its own) was given no output.
void AttachParentConsole();

class TSystem : public platform::ISystem {
public:
  // RtlGetVersion reports the true version; GetVersionExW reports 6.2 to programs without a
  // compatibility manifest from Windows 8.1 on. CSDVersion arrives in UTF-8.
  bool GetVersion(TVersionInfo& info) override;
  // All zero when the system refuses the query.
  TMemoryStatus GetMemoryStatus() override;
  // The available physical memory, which rises as a trim gives pages back.
  uint64_t FreePhysicalMemory() override;
  std::vector<std::string> CommandLineArgs() override;
  // Empty when the system cannot name the executable.
  std::string ExecutablePath() override;
  uint32_t GetPriorityClass() override;
  // A class the system refuses leaves the priority as it was (the call's answer is not needed).
  void SetPriorityClass(uint32_t priorityClass) override;
  int GetThreadPriority() override;
  void SetThreadPriority(int priority) override;
  void Sleep(uint32_t milliseconds) override;
  uint64_t TimeStampCounter() override;
  bool CpuIdSupported() override;
  TCpuIdRegs CpuId(uint32_t leaf) override;
  int32_t ProcessorCount() override;
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
  std::string TempPath() override;
  std::string HostName() override;
  std::vector<std::string> HostAddresses(const std::string& hostName) override;
  bool QuerySystemInformation(uint32_t infoClass, std::span<uint8_t> buffer) override;
  uint32_t ThreadCount() override;
};

}  // namespace platform::win32
