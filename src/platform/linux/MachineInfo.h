// Where the registration data of a Windows installation comes from on Linux: the distribution's
// name in os-release, the machine's identity in /etc/machine-id, the user's full name in the
// password database.
#pragma once
#include <map>
#include <string>
#include <string_view>

namespace platform::linux {

// The assignments of an os-release file (KEY=value; values may be quoted, shell-style: in double
// quotes \", \\, \$ and \` are escapes; # starts a comment line). Malformed lines are passed over.
std::map<std::string, std::string> ParseOsRelease(std::string_view text);

// PRETTY_NAME of /etc/os-release (else /usr/lib/os-release); NAME when there is no PRETTY_NAME.
std::string ProductName();
// /etc/machine-id without its line end; empty when there is none.
std::string MachineId();
// The full name of a password entry: its GECOS field before the first comma, else the login name.
std::string FullName(std::string_view gecos, std::string_view login);
// The full name of the user running the program.
std::string OwnerName();

}  // namespace platform::linux
