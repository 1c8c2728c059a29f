// The Windows edition's entry: the kernel services, the registry, the shell, the Win32 widget set,
// then the program. The exit status is the program's (0 after a normal end).
#include "app/Brisko.h"
#include "app/TrimCommand.h"
#include "app/uAbout.h"
#include "platform/Host.h"
#include "platform/win32/Processes.h"
#include "platform/win32/Registry.h"
#include "platform/win32/Shell.h"
#include "platform/win32/System.h"
#include "widgetset/win32/Clipboard.h"
#include "widgetset/win32/WidgetSet.h"

// wWinMain as the C runtime's Unicode start-up calls it (-municode), declared without windows.h:
// HINSTANCE is HINSTANCE__*, the calling convention is stdcall.
extern "C" int __stdcall wWinMain(HINSTANCE__* instance, HINSTANCE__*, wchar_t*, int) {
  platform::win32::TSystem system;
  platform::win32::TRegistry registry;
  platform::win32::TShell shell;
  platform::win32::TProcesses processes;
  platform::SetHost({&registry, &system, &shell, &processes, nullptr});
  if (IsSwitch("/TRIM")) {
    platform::win32::AttachParentConsole();
    return RunTrimCommand(stdout);
  }
  widgetset::win32::TWidgetSet widgets(instance);
  widgetset::win32::TClipboard clipboard(widgets);
  platform::SetHost({&registry, &system, &shell, &processes, &clipboard});
  return RunBrisko(widgets);
}
