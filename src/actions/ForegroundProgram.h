// Which program owns the foreground window: by its executable's file name,
// what picks a program's own key set; by its executable module's name, what
// tells a player in front.
#pragma once
#include <windows.h>
#include <tlhelp32.h>
#include "settings/AssignmentStore.h"

// The file name, without its folder, of the program that owns the
// foreground window, into name (kProgramNameSize bytes); false when there is
// no foreground window or its program cannot be told.
bool ForegroundProgramName(char* name);
// The name of that program's executable module, as a module snapshot gives
// it (szModule, spelt as the lookup of a process by module compares it),
// into module (MAX_MODULE_NAME32 + 1 bytes); false as above.
bool ForegroundProgramModule(char* module);
