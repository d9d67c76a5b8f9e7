// Handles and threads of a process, as leak checks count them: from the
// system's handle table, since Wine answers GetProcessHandleCount with 0,
// and from the process's toolhelp entry. -1 when they cannot be read.
#pragma once
#include <windows.h>

namespace mmk_test {

const int kAnyObjectType = -1;
int HandleCount(DWORD processId, int objectType = kAnyObjectType);
// The object type of events in that table.
int EventObjectType();
int ThreadCount(DWORD processId);

}  // namespace mmk_test
