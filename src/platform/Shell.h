// The desktop shell: opening a document with the program registered for it.
#pragma once
#include <string>

namespace platform {

class IShell {
public:
  virtual ~IShell() = default;
  // Opens file (relative names are looked up in the current directory); failures are silent.
  virtual void OpenDocument(const std::string& verb, const std::string& file) = 0;
};

}  // namespace platform
