// Command lines as Windows writes and reads them (the C runtime's argument rules): the Run value of
// the logon list holds one. Join and split are exact inverses: split(join(args)) == args for any
// arguments without a NUL character.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Blanks separate arguments; an argument with a blank, a tab or a double quote, or an empty one, is
// enclosed in double quotes, a double quote in it written \" and the backslashes before it doubled.
// The program name follows the same rules, which for every path Windows allows (none holds a double
// quote) give what the system's own program-name rule reads.
std::string JoinCommandLine(const std::vector<std::string>& args);
std::vector<std::string> SplitCommandLine(std::string_view line);

}  // namespace platform
