// A process measured from outside, by whatever answers for it under Wine:
// its handles (from the system's handle table, since Wine answers
// GetProcessHandleCount with 0) and threads, as leak checks count them.
#pragma once
#include <windows.h>

namespace mmk_test {

// -1 when they cannot be read.
const int kAnyObjectType = -1;
int HandleCount(DWORD processId, int objectType = kAnyObjectType);
// The object type of events in that table.
int EventObjectType();
int ThreadCount(DWORD processId);

}  // namespace mmk_test
