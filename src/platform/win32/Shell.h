// The desktop shell on Windows: OpenDocument → ShellExecuteW(no owner, verb, file, no parameters,
// no directory, SW_SHOW); the answer is ignored, so a missing document or program is silent.
#pragma once
#include "platform/Shell.h"

namespace platform::win32 {

class TShell : public platform::IShell {
public:
  void OpenDocument(const std::string& verb, const std::string& file) override;
};

}  // namespace platform::win32
