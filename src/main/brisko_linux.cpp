// The Linux edition's entry: the kernel services, the Qt widget set, then the program.
#include "app/Brisko.h"
#include "platform/Host.h"
#include "platform/linux/Registry.h"
#include "platform/linux/System.h"
#include "platform/qt/Shell.h"
#include "platform/qt/WidgetSet.h"
#include "ui/Forms.h"

int main(int argc, char** argv) {
  platform::qt::TWidgetSet widgets(argc, argv);
  platform::linux::TSystem system(argc, argv);
  platform::linux::TLinuxRegistry registry;
  platform::qt::TShell shell;
  registry.SetOnSettingsError([](const std::string& message) {
    if (Application) Application->MessageBox(message, "", MbOk | MbIconError);
  });
  platform::SetHost({&registry, &system, &shell});
  return RunBrisko(widgets);
}
