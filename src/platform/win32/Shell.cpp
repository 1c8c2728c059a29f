// ShellExecuteW for OpenDocument (the mapping is in Shell.h).
#include "platform/win32/Shell.h"

#include "platform/win32/System.h"
#include "platform/win32/Utf16.h"

#include <windows.h>
#include <shellapi.h>

namespace platform::win32 {

bool TShell::OpenDocument(const std::string& verb, const std::string& file) {
  std::wstring wideVerb, wideFile;
  if (!ToUtf16(verb, wideVerb) || !ToUtf16(file, wideFile)) return false;
  return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, wideVerb.c_str(), wideFile.c_str(), L"", L"", SW_SHOW)) > 32;
}

std::string TShell::InstalledDocument(const std::string& name) {
  const std::string program = TSystem().ExecutablePath();
  return program.substr(0, program.find_last_of('\\') + 1) + name;
}

}  // namespace platform::win32
