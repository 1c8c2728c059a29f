// The processes service on Windows (the mapping is described in Processes.h).
#include "platform/win32/Processes.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/DynamicLibrary.h"
#include "platform/win32/Utf16.h"

namespace platform::win32 {

namespace {

using TEnumProcesses = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);

}  // namespace

TPrivilegeResult TProcesses::EnablePrivilege(const std::string& name) {
  std::wstring wide;
  HANDLE token = nullptr;
  if (!ToUtf16(name, wide) || !OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    return {};
  TPrivilegeResult result;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (LookupPrivilegeValueW(nullptr, wide.c_str(), &privileges.Privileges[0].Luid)) {
    TOKEN_PRIVILEGES previous{};
    DWORD length = sizeof previous;
    result.Succeeded = AdjustTokenPrivileges(token, FALSE, &privileges, sizeof previous, &previous, &length) != FALSE;
    // Success that did not assign the privilege: the user does not have it.
    result.Held = result.Succeeded && GetLastError() != ERROR_NOT_ALL_ASSIGNED;
  }
  CloseHandle(token);
  return result;
}

bool TProcesses::EnumProcesses(uint32_t* ids, uint32_t bytes, uint32_t& returned) {
  static const auto enumProcesses = SystemFunction<TEnumProcesses>(L"PSAPI.dll", "EnumProcesses");
  DWORD filled = 0;
  if (!enumProcesses || !enumProcesses(reinterpret_cast<DWORD*>(ids), bytes, &filled)) return false;
  returned = filled;
  return true;
}

uintptr_t TProcesses::OpenProcess(uint32_t access, uint32_t pid) {
  return reinterpret_cast<uintptr_t>(::OpenProcess(access, FALSE, pid));
}

bool TProcesses::EmptyWorkingSet(uintptr_t process) {
  return SetProcessWorkingSetSize(reinterpret_cast<HANDLE>(process), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1)) != FALSE;
}

void TProcesses::CloseProcess(uintptr_t process) { CloseHandle(reinterpret_cast<HANDLE>(process)); }

uintptr_t TProcesses::CommitBlock(uint32_t bytes) {
  void* block = VirtualAlloc(nullptr, bytes, MEM_COMMIT, PAGE_READWRITE | PAGE_NOCACHE);
  if (!block) return 0;
  // Writing every byte makes the system back each page with physical memory.
  std::memset(block, 0, bytes);
  return reinterpret_cast<uintptr_t>(block);
}

void TProcesses::ReleaseBlock(uintptr_t block) { VirtualFree(reinterpret_cast<void*>(block), 0, MEM_RELEASE); }

}  // namespace platform::win32
