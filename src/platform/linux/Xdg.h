// The XDG base directory the settings and the autostart entry live under.
#pragma once
#include <string>

namespace platform::linux {

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config, else the password database's home
// directory + "/.config"; without a trailing slash.
std::string ConfigHome();

}  // namespace platform::linux
