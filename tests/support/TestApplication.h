// Everything a headless window test stands on: the fake host, the box font, the manual widget set
// and an application object on top of them.
#pragma once
#include "BoxFont.h"
#include "FakeHost.h"
#include "ManualWidgetSet.h"
#include "ui/Forms.h"

struct TTestApplication {
  TFakeHost Host;
  TBoxFontScope Fonts;
  TManualWidgetSet Widgets;
  TApplication App{Widgets};
};
