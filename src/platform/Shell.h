// The desktop shell: opening a document with the program registered for it.
#pragma once
#include <string>

namespace platform {

class IShell {
public:
  virtual ~IShell() = default;
  // Opens file (relative names are looked up in the current directory); false when it could not be
  // opened (no such file, no program for it). Nothing is shown to the user either way.
  virtual bool OpenDocument(const std::string& verb, const std::string& file) = 0;
  // Where an installation keeps one of the program's documents (the help page).
  virtual std::string InstalledDocument(const std::string& name) = 0;
};

}  // namespace platform
