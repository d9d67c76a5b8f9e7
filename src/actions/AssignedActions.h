// The actions an owner can give a key in place of what it does by default:
// nothing, start, keys and command. Each acts once per press.
#pragma once
#include "settings/AssignmentFormat.h"

// Runs the assignment; kStandard is not an action of its own and does nothing
// here.
void RunAssignment(const Assignment& assignment);
