// Kernel services on Windows (the mapping is described in System.h). Nothing here throws; a refused
// call gives the documented empty or zero answer.
#include "platform/win32/System.h"

#include "platform/win32/DynamicLibrary.h"
#include "platform/win32/Utf16.h"

#include "platform/X86.h"

#include <winsock.h>
#include <windows.h>
#include <intrin.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace platform::win32 {

namespace {

// The RTL_OSVERSIONINFOW RtlGetVersion fills is OSVERSIONINFOW.
using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);

// CSDVersion may fill its array without a terminator; only what lies inside it is taken.
std::string FixedText(const WCHAR* text, size_t capacity) {
  size_t n = 0;
  while (n < capacity && text[n] != 0) ++n;
  return ToUtf8(std::wstring_view(text, n));
}

}  // namespace

bool TSystem::GetVersion(TVersionInfo& info) {
  OSVERSIONINFOW v;
  ZeroMemory(&v, sizeof v);
  v.dwOSVersionInfoSize = sizeof v;
  static const auto rtlGetVersion = SystemFunction<TRtlGetVersion>(L"ntdll.dll", "RtlGetVersion");
  if (!(rtlGetVersion && rtlGetVersion(&v) >= 0)) {
    ZeroMemory(&v, sizeof v);
    v.dwOSVersionInfoSize = sizeof v;
    if (!GetVersionExW(&v)) return false;
  }
  info.MajorVersion = v.dwMajorVersion;
  info.MinorVersion = v.dwMinorVersion;
  info.BuildNumber = v.dwBuildNumber;
  info.PlatformId = v.dwPlatformId;
  info.CSDVersion = FixedText(v.szCSDVersion, sizeof v.szCSDVersion / sizeof v.szCSDVersion[0]);
  return true;
}

TMemoryStatus TSystem::GetMemoryStatus() {
  MEMORYSTATUSEX m;
  ZeroMemory(&m, sizeof m);
  m.dwLength = sizeof m;
  TMemoryStatus status;
  if (!GlobalMemoryStatusEx(&m)) return status;
  status.MemoryLoad = m.dwMemoryLoad;
  status.TotalPhys = m.ullTotalPhys;
  status.AvailPhys = m.ullAvailPhys;
  status.TotalPageFile = m.ullTotalPageFile;
  status.AvailPageFile = m.ullAvailPageFile;
  status.TotalVirtual = m.ullTotalVirtual;
  status.AvailVirtual = m.ullAvailVirtual;
  return status;
}

uint64_t TSystem::FreePhysicalMemory() { return GetMemoryStatus().AvailPhys; }

std::vector<std::string> TSystem::CommandLineArgs() {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!argv) return args;
  for (int k = 1; k < count; ++k) args.push_back(ToUtf8(argv[k]));
  LocalFree(argv);
  return args;
}

std::string TSystem::ExecutablePath() {
  // A full buffer means the path may have been cut; paths reach 32767 characters with the \\?\ form.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return ToUtf8(path);
    }
    if (path.size() >= 65536) return {};
    path.resize(path.size() * 2);
  }
}

uint32_t TSystem::GetPriorityClass() { return ::GetPriorityClass(GetCurrentProcess()); }

void TSystem::SetPriorityClass(uint32_t priorityClass) { ::SetPriorityClass(GetCurrentProcess(), priorityClass); }

int TSystem::GetThreadPriority() { return ::GetThreadPriority(GetCurrentThread()); }

void TSystem::SetThreadPriority(int priority) { ::SetThreadPriority(GetCurrentThread(), priority); }

void TSystem::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

uint64_t TSystem::TimeStampCounter() { return __rdtsc(); }

bool TSystem::CpuIdSupported() { return X86IdFlagToggles(); }

TCpuIdRegs TSystem::CpuId(uint32_t leaf) { return X86CpuId(leaf); }

int32_t TSystem::ProcessorCount() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return static_cast<int32_t>(info.dwNumberOfProcessors);
}

namespace {

// A directory as a W function answers it into a buffer of MAX_PATH characters; empty on failure.
template <class F>
std::string Directory(F call) {
  wchar_t path[MAX_PATH + 1] = {};
  const UINT n = call(path, MAX_PATH);
  return n > 0 && n <= MAX_PATH ? ToUtf8(std::wstring_view(path, n)) : std::string();
}

// Windows Sockets 1.1 for the length of one call.
class TSockets {
public:
  TSockets() {
    WSADATA data;
    FStarted = WSAStartup(MAKEWORD(1, 1), &data) == 0;
  }
  ~TSockets() {
    if (FStarted) WSACleanup();
  }
  TSockets(const TSockets&) = delete;
  TSockets& operator=(const TSockets&) = delete;
  explicit operator bool() const { return FStarted; }

private:
  bool FStarted = false;
};

}  // namespace

std::string TSystem::WindowsDirectory() { return Directory([](wchar_t* p, UINT n) { return GetWindowsDirectoryW(p, n); }); }

std::string TSystem::SystemDirectory() { return Directory([](wchar_t* p, UINT n) { return GetSystemDirectoryW(p, n); }); }

std::string TSystem::TempPath() {
  return Directory([](wchar_t* p, UINT n) { return static_cast<UINT>(GetTempPathW(n, p)); });
}

std::string TSystem::HostName() {
  const TSockets sockets;
  char name[256] = {};
  return sockets && gethostname(name, sizeof name - 1) == 0 ? name : "";
}

std::vector<std::string> TSystem::HostAddresses(const std::string& hostName) {
  std::vector<std::string> addresses;
  const TSockets sockets;
  const hostent* host = sockets ? gethostbyname(hostName.c_str()) : nullptr;
  if (!host || host->h_addrtype != AF_INET) return addresses;
  for (char** entry = host->h_addr_list; *entry; ++entry) {
    in_addr address;
    std::memcpy(&address, *entry, sizeof address);
    addresses.emplace_back(inet_ntoa(address));
  }
  return addresses;
}

namespace {

using TQuery = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

// The file cache record as this process's system fills it: its SIZE_T fields are 8 bytes wide in a
// 64-bit process. The performance and processor records hold no such field and are the same in both.
struct TNativeFileCache {
  SIZE_T CurrentSize, PeakSize;
  ULONG PageFaultCount;
  SIZE_T MinimumWorkingSet, MaximumWorkingSet, CurrentSizeIncludingTransitionInPages, PeakSizeIncludingTransitionInPages;
  ULONG TransitionRePurposeCount, Flags;
};
static_assert(sizeof(TNativeFileCache) == (sizeof(void*) == 4 ? SystemInfoFileCacheSize : 64));

// The file cache record in the published 32-bit layout, each field saturated at 32 bits as the system
// itself answers a 32-bit program.
bool QueryFileCache(TQuery query, std::span<uint8_t> buffer) {
  if (buffer.size() < SystemInfoFileCacheSize) return false;
  TNativeFileCache native{};
  ULONG returned = 0;
  if (query(SystemInfoFileCache, &native, sizeof native, &returned) != 0) return false;
  const uint64_t fields[] = {native.CurrentSize, native.PeakSize, native.PageFaultCount, native.MinimumWorkingSet,
                             native.MaximumWorkingSet, native.CurrentSizeIncludingTransitionInPages,
                             native.PeakSizeIncludingTransitionInPages, native.TransitionRePurposeCount, native.Flags};
  for (size_t i = 0; i < std::size(fields); ++i) {
    const auto field = static_cast<uint32_t>(std::min<uint64_t>(fields[i], UINT32_MAX));
    std::memcpy(buffer.data() + i * sizeof field, &field, sizeof field);
  }
  return true;
}

}  // namespace

bool TSystem::QuerySystemInformation(uint32_t infoClass, std::span<uint8_t> buffer) {
  static const auto query = SystemFunction<TQuery>(L"ntdll.dll", "NtQuerySystemInformation");
  if (!query) return false;
  if (infoClass == SystemInfoFileCache) return QueryFileCache(query, buffer);
  ULONG returned = 0;
  return query(infoClass, buffer.data(), static_cast<ULONG>(buffer.size()), &returned) == 0;
}

uint32_t TSystem::ThreadCount() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  uint32_t count = 0;
  if (Thread32First(snapshot, &entry)) {
    do ++count;
    while (Thread32Next(snapshot, &entry));
  }
  CloseHandle(snapshot);
  return count;
}

void AttachParentConsole() {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output && output != INVALID_HANDLE_VALUE) return;
  if (AttachConsole(ATTACH_PARENT_PROCESS)) (void)std::freopen("CONOUT$", "w", stdout);
}

}  // namespace platform::win32
