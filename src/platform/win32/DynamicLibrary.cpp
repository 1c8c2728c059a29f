// Functions looked up in system libraries (see DynamicLibrary.h).
#include "platform/win32/DynamicLibrary.h"

#include <windows.h>

namespace platform::win32 {

TSystemProc SystemProc(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadLibraryW(library);
  return module ? reinterpret_cast<TSystemProc>(GetProcAddress(module, name)) : nullptr;
}

}  // namespace platform::win32
