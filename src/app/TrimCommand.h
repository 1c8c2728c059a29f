// "brisko /TRIM": one quick trim without any window, for scripts and schedulers. It prints one line
// (what was freed, or which right was missing) and answers the exit status: 0 when other programs
// were trimmed, 2 when only the program's own rights applied, 1 on an error.
#pragma once
#include <cstdio>

int RunTrimCommand(std::FILE* out);
