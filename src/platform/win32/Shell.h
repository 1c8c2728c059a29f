// The desktop shell on Windows: OpenDocument → ShellExecuteW(no owner, verb, file, no parameters,
// no directory, SW_SHOW), opened when it answers more than 32; nothing is shown on failure.
// Installed documents lie beside the executable.
#pragma once
#include "platform/Shell.h"

namespace platform::win32 {

class TShell : public platform::IShell {
public:
  bool OpenDocument(const std::string& verb, const std::string& file) override;
  std::string InstalledDocument(const std::string& name) override;
};

}  // namespace platform::win32
