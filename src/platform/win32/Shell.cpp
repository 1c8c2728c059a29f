// ShellExecuteW for OpenDocument (the mapping is in Shell.h).
#include "platform/win32/Shell.h"

#include "platform/win32/System.h"

#include <windows.h>
#include <shellapi.h>

namespace platform::win32 {

void TShell::OpenDocument(const std::string& verb, const std::string& file) {
  std::wstring wideVerb, wideFile;
  if (!ToUtf16(verb, wideVerb) || !ToUtf16(file, wideFile)) return;
  ShellExecuteW(nullptr, wideVerb.c_str(), wideFile.c_str(), L"", L"", SW_SHOW);
}

}  // namespace platform::win32
