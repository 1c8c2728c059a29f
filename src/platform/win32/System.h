// Kernel services on Windows, and the UTF-8/UTF-16 conversion every Win32 unit uses at the API boundary.
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

// UTF-8 to UTF-16 for the W functions; false (wide untouched) when text is not valid UTF-8, so a
// malformed name never silently becomes a different one.
bool ToUtf16(std::string_view text, std::wstring& wide);
// UTF-16 from the W functions to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::wstring_view wide);
// UTF-16 of a caption or message for display; empty when text is not valid UTF-8.
std::wstring Wide(std::string_view text);

// A function of a system library (the library loaded when it is not yet), null when either is
// missing; for calls that not every Windows version has.
using TSystemProc = void (*)();
TSystemProc SystemProc(const wchar_t* library, const char* name);
template <class F>
F SystemFunction(const wchar_t* library, const char* name) {
  // Through the generic function pointer type, which the compiler accepts without a cast warning.
  return reinterpret_cast<F>(SystemProc(library, name));
}

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
