// The host services the portable code runs on, installed once by the program's entry (or a test).
#pragma once
#include "platform/Clipboard.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"

namespace platform {

struct THost {
  IRegistry* Registry = nullptr;
  ISystem* System = nullptr;
  IShell* Shell = nullptr;
  IProcesses* Processes = nullptr;
  IClipboard* Clipboard = nullptr;
};

THost& Host();
void SetHost(const THost& host);

}  // namespace platform
