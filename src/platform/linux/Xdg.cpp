// The XDG base directory rules for the configuration folder.
#include "platform/linux/Xdg.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace platform::linux {

std::string ConfigHome() {
  std::string dir;
  // Relative values of XDG_CONFIG_HOME are invalid by the base-directory rules and are ignored.
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') {
    dir = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
      const passwd* pw = getpwuid(getuid());
      home = pw && pw->pw_dir ? pw->pw_dir : "/";
    }
    dir = std::string(home) + "/.config";
  }
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

}  // namespace platform::linux
