// Desktop Entry files (the freedesktop.org format of menus and autostart entries): string values with
// their escapes, and Exec lines, written and read as a desktop launcher (GLib) reads them. For any
// arguments without a NUL, ParseExec(UnescapeValue(EscapeValue(ExecLine(args)))) gives args back.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace platform::linux {

// The escapes of string values (\s \n \t \r \\); a leading blank is written \s, since readers trim it.
std::string EscapeValue(std::string_view text);
std::string UnescapeValue(std::string_view text);

// The Exec line that runs args: an argument with a reserved character is enclosed in double quotes
// with " ` $ \ escaped, and every % is written %%. A launcher checks that the program named first
// exists before it expands %%, so a program path with a % is started through /bin/sh.
std::string ExecLine(const std::vector<std::string>& args);
// The arguments an Exec line runs (field codes such as %f expand to nothing, %% is %), without the
// /bin/sh that ExecLine adds; false when the line is malformed.
bool ParseExec(std::string_view line, std::vector<std::string>& args);

// The value of key in the [Desktop Entry] group, unescaped; false when it is absent.
bool DesktopEntryValue(std::string_view text, std::string_view key, std::string& value);

}  // namespace platform::linux
