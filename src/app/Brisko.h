// The program: the start-up sequence up to the message loop, the loop, and the end.
#pragma once
#include "ui/WidgetSet.h"

// The application title, also the caption of the program's message boxes.
extern const char* const ApplicationTitle;

// Start-up: framework, title, wait cursor, splash with its timer, the main window. The
// application object must exist (it is the widget set's and the caller's).
void StartBrisko();
// Start-up, the message loop until the main window closes, and the end. Returns the exit status.
int RunBrisko(TCustomWidgetSet& widgets);
