// The program's question box: OK and Cancel, the question-mark icon, the application title as caption.
#pragma once
#include <string>

// Asks text modally; answers the button pressed: IdOk (1) or IdCancel (2, also when the box is closed).
int AskOkCancel(const std::string& text);
