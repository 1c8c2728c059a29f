// The question box through the application's message-box service.
#include "app/fMessageBox.h"

#include "ui/Forms.h"

int AskOkCancel(const std::string& text) {
  return Application->MessageBox(text, Application->Title(), MbOkCancel | MbIconQuestion);
}
