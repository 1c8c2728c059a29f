// The desktop shell on Qt: a document opens with the program the desktop associates with it; a
// missing file is not opened. Installed documents are in ../share/brisko/ from the executable's folder
// (/usr/share/brisko/ for /usr/bin/brisko).
#pragma once
#include <string>

#include "platform/Shell.h"

namespace widgetset::qt {

class TShell : public platform::IShell {
public:
  // verb is ignored: the desktop has only "open". Relative names are taken from the current directory.
  bool OpenDocument(const std::string& verb, const std::string& file) override;
  std::string InstalledDocument(const std::string& name) override;
};

}  // namespace widgetset::qt
