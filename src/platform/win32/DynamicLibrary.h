// Functions of system libraries looked up at run time, for calls that not every Windows version has.
#pragma once

namespace platform::win32 {

// A function of a system library (the library loaded when it is not yet), null when either is
// missing; for calls that not every Windows version has.
using TSystemProc = void (*)();
TSystemProc SystemProc(const wchar_t* library, const char* name);
template <class F>
F SystemFunction(const wchar_t* library, const char* name) {
  // Through the generic function pointer type, which the compiler accepts without a cast warning.
  return reinterpret_cast<F>(SystemProc(library, name));
}

}  // namespace platform::win32
