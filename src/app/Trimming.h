// Trimming, shared by the main window and the command-line trim: the privilege step, the working-set
// trim of every process, the clipboard step, the scope the host keeps for a trim, and the texts that
// say what a trim freed or which right it lacked.
#pragma once
#include <cstdint>
#include <string>

#include "platform/Host.h"

// Enables a privilege in the program's own token; answers whether the system's call succeeded (also
// when it did not assign the privilege); held, when given, tells whether the program holds it now.
bool EnableProcessPrivilege(const std::string& name, bool* held = nullptr);
// Asks every process that can be opened to give back its whole working set, in the order the system
// lists them, the program itself included; false when the process list cannot be read. reachedOthers,
// when given, tells whether the program had the right to trim other users' programs.
bool TrimAllWorkingSets(bool* reachedOthers = nullptr);
// Empties the clipboard; raises "Cannot open clipboard" when another program holds it.
void EmptyClipboard();
// Working sets can be emptied on the NT family only.
bool IsNtFamily();

// Holds what the host keeps for one trim (begun and ended in pairs, also around nested trims).
class TTrimScope {
public:
  TTrimScope() { platform::Host().Processes->BeginTrim(); }
  ~TTrimScope() { platform::Host().Processes->EndTrim(); }
  TTrimScope(const TTrimScope&) = delete;
  TTrimScope& operator=(const TTrimScope&) = delete;
};

// "释放 NNNMB": the rise of the free physical memory between two readings, in whole megabytes.
std::string FreedText(uint64_t freeBefore, uint64_t freeAfter);
// Which right a trim lacked: the window's one-time explanation, and the command's one line.
std::string RightsAdviceText(platform::TRightsAdvice advice);
std::string MissingRightText(platform::TRightsAdvice advice);
