// The Linux edition's entry: the kernel services, the Qt widget set, then the program.
#include "app/Brisko.h"
#include "platform/Host.h"
#include "platform/linux/Registry.h"
#include "platform/linux/System.h"
#include "widgetset/qt/Shell.h"
#include "widgetset/qt/WidgetSet.h"
#include "ui/Forms.h"

int main(int argc, char** argv) {
  widgetset::qt::TWidgetSet widgets(argc, argv);
  platform::linux::TSystem system(argc, argv);
  platform::linux::TLinuxRegistry registry;
  widgetset::qt::TShell shell;
  registry.SetOnSettingsError([](const std::string& message) {
    if (Application) Application->MessageBox(message, "", MbOk | MbIconError);
  });
  platform::SetHost({&registry, &system, &shell});
  return RunBrisko(widgets);
}
