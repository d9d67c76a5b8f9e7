// Which program owns the foreground window, by its executable's file name:
// what picks a program's own key set.
#pragma once
#include <windows.h>
#include "settings/AssignmentStore.h"

// The file name, without its folder, of the program that owns the
// foreground window, into name (kProgramNameSize bytes); false when there is
// no foreground window or its program cannot be told.
bool ForegroundProgramName(char* name);
