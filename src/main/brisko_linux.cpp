// The Linux edition's entry: the kernel services, the Qt widget set, then the program.
#include "app/Brisko.h"
#include "app/TrimCommand.h"
#include "app/uAbout.h"
#include "platform/Host.h"
#include "platform/linux/Capabilities.h"
#include "platform/linux/Processes.h"
#include "platform/linux/Registry.h"
#include "platform/linux/System.h"
#include "widgetset/qt/Clipboard.h"
#include "widgetset/qt/Shell.h"
#include "widgetset/qt/WidgetSet.h"
#include "ui/Forms.h"

int main(int argc, char** argv) {
  // Capabilities given to this file by mistake go before the toolkit reads its environment: privileged
  // work belongs to brisko-helper. Root keeps its own, which come with the user and not the file.
  if (!platform::linux::DropNonRootCapabilities()) return 1;
  // The arguments are the program's ("/LOAD" first decides): the toolkit gets none, so that it neither
  // takes options such as -reverse out of them nor acts on them.
  platform::linux::TSystem system(argc, argv);
  platform::linux::TLinuxRegistry registry;
  platform::linux::TProcesses processes(platform::linux::HelperPaths(system.ExecutablePath()),
                                       platform::linux::ElevatedHelper());
  platform::SetHost({&registry, &system, nullptr, &processes, nullptr});
  // The command-line trim needs no display.
  if (IsSwitch("/TRIM")) return RunTrimCommand(stdout);
  int toolkitArgc = 1;
  char* toolkitArgv[] = {argv[0], nullptr};
  widgetset::qt::TWidgetSet widgets(toolkitArgc, toolkitArgv);
  widgetset::qt::TShell shell;
  widgetset::qt::TClipboard clipboard;
  registry.SetOnSettingsError([](const std::string& message) {
    if (Application) Application->MessageBox(message, "", MbOk | MbIconError);
  });
  platform::SetHost({&registry, &system, &shell, &processes, &clipboard});
  return RunBrisko(widgets);
}
