// The desktop shell on Qt: a document opens with the program the desktop associates with it.
// Nothing is reported, whatever happens: a missing file is simply not opened.
#pragma once
#include <string>

#include "platform/Shell.h"

namespace widgetset::qt {

class TShell : public platform::IShell {
public:
  // verb is ignored: the desktop has only "open". Relative names are taken from the current directory.
  void OpenDocument(const std::string& verb, const std::string& file) override;
};

}  // namespace widgetset::qt
