// The Windows kernel services against the real system (under Wine in CI): version, memory status,
// priorities, the time-stamp counter, the UTF-8/UTF-16 conversion, and the command line as a child run
// of this program, started with known arguments, reports it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/System.h"
#include "platform/win32/Utf16.h"

using namespace platform;
using platform::win32::TSystem;
using platform::win32::ToUtf16;
using platform::win32::ToUtf8;

namespace {

constexpr const wchar_t* ChildVariable = L"BRISKO_SYSTEM_TEST_REPORT";

// The child mode: runs before the test runner starts, writes what the service reports (the executable
// path, then one argument a line) to the file named by the variable, and ends the process there.
[[maybe_unused]] const bool ChildReported = [] {
  wchar_t report[4096];
  const DWORD n = GetEnvironmentVariableW(ChildVariable, report, 4096);
  if (n == 0 || n >= 4096) return false;
  TSystem system;
  std::string text = system.ExecutablePath() + "\n";
  for (const std::string& arg : system.CommandLineArgs()) text += arg + "\n";
  FILE* file = _wfopen(report, L"wb");
  if (file) {
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
  }
  ExitProcess(file ? 0 : 1);
}();

std::wstring Wide(const std::string& text) {
  std::wstring wide;
  EXPECT_TRUE(ToUtf16(text, wide)) << text;
  return wide;
}

std::string ReadFileText(const std::wstring& path) {
  std::string text;
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (!file) return text;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
  fclose(file);
  return text;
}

// Runs program with the command line tail, the report variable set; the report's lines.
std::vector<std::string> RunChild(const std::wstring& program, const std::wstring& tail, const std::wstring& report) {
  SetEnvironmentVariableW(ChildVariable, report.c_str());
  std::wstring commandLine = L"\"" + program + L"\" " + tail;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                      &startup, &process);
  SetEnvironmentVariableW(ChildVariable, nullptr);
  EXPECT_TRUE(started) << "error " << GetLastError();
  if (!started) return {};
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::vector<std::string> lines;
  const std::string text = ReadFileText(report);
  for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) lines.push_back(text.substr(at, end - at));
  DeleteFileW(report.c_str());
  return lines;
}

std::wstring ThisProgram() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path;
}

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  return std::wstring(temp, n);
}

bool EndsWithExe(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  for (char& c : tail) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return tail == ".exe";
}

}  // namespace

TEST(SystemTest, VersionIsTheNtFamily) {
  TSystem system;
  TVersionInfo info;
  ASSERT_TRUE(system.GetVersion(info));
  EXPECT_EQ(info.PlatformId, PlatformWin32NT);
  EXPECT_GE(info.MajorVersion, 5u);
  EXPECT_GT(info.BuildNumber, 0u);
}

TEST(SystemTest, MemoryStatusHasTotalsAndAvailableBelowThem) {
  TSystem system;
  const TMemoryStatus m = system.GetMemoryStatus();
  EXPECT_GT(m.TotalPhys, 0u);
  EXPECT_LE(m.AvailPhys, m.TotalPhys);
  EXPECT_GT(m.TotalPageFile, 0u);
  EXPECT_LE(m.AvailPageFile, m.TotalPageFile);
  EXPECT_LE(m.MemoryLoad, 100u);
  // A 32-bit process has 2 GiB of address space, or up to 4 GiB when large-address aware; a 64-bit
  // one 8 TiB (Windows 7) to 128 TiB.
  EXPECT_GE(m.TotalVirtual, 1ull << 30);
  EXPECT_LE(m.TotalVirtual, sizeof(void*) == 4 ? 4ull << 30 : 128ull << 40);
  EXPECT_GT(m.AvailVirtual, 0u);
  EXPECT_LT(m.AvailVirtual, m.TotalVirtual) << "this program itself uses some";
}

TEST(SystemTest, ExecutablePathNamesThisProgram) {
  TSystem system;
  const std::string path = system.ExecutablePath();
  ASSERT_TRUE(EndsWithExe(path)) << path;
  EXPECT_NE(GetFileAttributesW(Wide(path).c_str()), INVALID_FILE_ATTRIBUTES) << path;
}

TEST(SystemTest, ArgumentsFollowTheCommandLineRulesWithoutTheProgramName) {
  const std::wstring report = TempFolder() + L"brisko-args-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
  const std::vector<std::string> lines =
      RunChild(ThisProgram(), L"/LOAD \"两 个\" \"say \\\"hi\\\"\" \"\" back\\slash", report);
  ASSERT_GE(lines.size(), 1u);
  EXPECT_TRUE(EndsWithExe(lines[0])) << lines[0];
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()),
            (std::vector<std::string>{"/LOAD", "两 个", "say \"hi\"", "", "back\\slash"}));
}

TEST(SystemTest, PrioritiesAreSetAndRestored) {
  TSystem system;
  const uint32_t processClass = system.GetPriorityClass();
  const int threadPriority = system.GetThreadPriority();
  ASSERT_NE(processClass, 0u);
  system.SetPriorityClass(HIGH_PRIORITY_CLASS);
  system.SetThreadPriority(THREAD_PRIORITY_HIGHEST);
  EXPECT_EQ(system.GetPriorityClass(), static_cast<uint32_t>(HIGH_PRIORITY_CLASS));
  EXPECT_EQ(system.GetThreadPriority(), THREAD_PRIORITY_HIGHEST);
  // What the clock measurement asks for.
  system.SetPriorityClass(RealtimePriorityClass);
  system.SetThreadPriority(ThreadPriorityTimeCritical);
  EXPECT_EQ(system.GetThreadPriority(), ThreadPriorityTimeCritical);
  system.SetThreadPriority(threadPriority);
  system.SetPriorityClass(processClass);
  EXPECT_EQ(system.GetPriorityClass(), processClass);
  EXPECT_EQ(system.GetThreadPriority(), threadPriority);
}

TEST(SystemTest, TimeStampCounterAdvancesAcrossASleep) {
  TSystem system;
  const uint64_t before = system.TimeStampCounter();
  system.Sleep(10);
  const uint64_t after = system.TimeStampCounter();
  EXPECT_GT(after, before);
  EXPECT_GT(after - before, 10000u) << "more than 1 MHz over 10 ms";
}

TEST(SystemTest, TextConvertsBothWaysAndMalformedUtf8IsRefused) {
  std::wstring wide = L"kept";
  ASSERT_TRUE(ToUtf16("内存 A😀", wide));
  EXPECT_EQ(wide, std::wstring(L"\u5185\u5b58 A\xd83d\xde00"));
  EXPECT_EQ(ToUtf8(wide), "内存 A😀");
  ASSERT_TRUE(ToUtf16("", wide));
  EXPECT_TRUE(wide.empty());
  EXPECT_EQ(ToUtf8(L""), "");

  wide = L"kept";
  for (const char* bad : {"\xc3", "a\xff" "b", "\xed\xa0\x80", "\xc0\xaf"}) {
    EXPECT_FALSE(ToUtf16(bad, wide)) << bad;
    EXPECT_EQ(wide, L"kept");
  }
  EXPECT_EQ(ToUtf8(std::wstring(L"a\xd800" L"b")), "a\xef\xbf\xbd" "b") << "an unpaired surrogate";
  EXPECT_EQ(ToUtf8(std::wstring(L"a\0b", 3)), std::string("a\0b", 3)) << "the whole view, not up to a terminator";
}

TEST(SystemTest, MachineFactsComeFromTheProcessorAndTheSystem) {
  TSystem system;
  ASSERT_TRUE(system.CpuIdSupported()) << "every i686 processor has CPUID";
  const TCpuIdRegs leaf0 = system.CpuId(0);
  EXPECT_GE(leaf0.EAX, 1u);
  for (uint32_t word : {leaf0.EBX, leaf0.EDX, leaf0.ECX})
    for (int shift = 0; shift < 32; shift += 8) EXPECT_TRUE(isprint((word >> shift) & 0xFF)) << "the vendor's letters";
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  EXPECT_EQ(system.ProcessorCount(), static_cast<int32_t>(info.dwNumberOfProcessors));

  const std::string windows = system.WindowsDirectory();
  EXPECT_NE(GetFileAttributesW(Wide(windows).c_str()), INVALID_FILE_ATTRIBUTES) << windows;
  EXPECT_EQ(system.SystemDirectory().rfind(windows, 0), 0u) << system.SystemDirectory();
  EXPECT_NE(GetFileAttributesW(Wide(system.TempPath()).c_str()), INVALID_FILE_ATTRIBUTES) << system.TempPath();

  EXPECT_FALSE(system.HostName().empty());
  const std::vector<std::string> loopback = system.HostAddresses("localhost");
  EXPECT_NE(std::find(loopback.begin(), loopback.end(), "127.0.0.1"), loopback.end());
}

TEST(SystemTest, SystemQueriesAnswerInTheirLayouts) {
  TSystem system;
  std::vector<uint8_t> perf(SystemInfoPerformanceSize), cache(SystemInfoFileCacheSize),
      cpu(SystemInfoProcessorTimesSize * static_cast<size_t>(system.ProcessorCount()));
  ASSERT_TRUE(system.QuerySystemInformation(SystemInfoPerformance, perf));
  ASSERT_TRUE(system.QuerySystemInformation(SystemInfoFileCache, cache));
  ASSERT_TRUE(system.QuerySystemInformation(SystemInfoProcessorTimes, cpu));
  uint32_t available;
  std::memcpy(&available, perf.data() + 44, sizeof available);
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  const uint64_t availableBytes = uint64_t{available} * info.dwPageSize;
  EXPECT_GT(availableBytes, 0u) << "available pages";
  EXPECT_LE(availableBytes, system.GetMemoryStatus().TotalPhys);
  uint32_t cacheSize, cachePeak;
  std::memcpy(&cacheSize, cache.data(), sizeof cacheSize);
  std::memcpy(&cachePeak, cache.data() + 4, sizeof cachePeak);
  EXPECT_LE(cacheSize, cachePeak) << "the cache's size, then its peak";
  int64_t idle;
  std::memcpy(&idle, cpu.data(), sizeof idle);
  EXPECT_GT(idle, 0) << "the first processor has idled";
  EXPECT_FALSE(system.QuerySystemInformation(SystemInfoPerformance, std::span<uint8_t>(perf.data(), 8))) << "too small";
  EXPECT_GE(system.ThreadCount(), 1u) << "this thread at least";
}
