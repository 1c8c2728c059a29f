// The host services the portable code runs on, installed once by the program's entry (or a test).
#pragma once
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"

namespace platform {

struct THost {
  IRegistry* Registry = nullptr;
  ISystem* System = nullptr;
  IShell* Shell = nullptr;
};

THost& Host();
void SetHost(const THost& host);

}  // namespace platform
