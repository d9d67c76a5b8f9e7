// Another process measured from outside, by whatever answers for it under
// Wine: its handles (from the system's handle table, since Wine answers
// GetProcessHandleCount with 0) and threads, as leak checks count them; its
// private memory; the processor time of the Unix process that runs it.
#pragma once
#include <windows.h>
#include <string>

namespace mmk_test {

// -1 when they cannot be read.
const int kAnyObjectType = -1;
int HandleCount(DWORD processId, int objectType = kAnyObjectType);
// The object type of events in that table.
int EventObjectType();
int ThreadCount(DWORD processId);

// Committed private memory, from a walk of its address space: Wine leaves
// the PrivateUsage of GetProcessMemoryInfo 0.
SIZE_T PrivateBytes(DWORD processId);

// User plus system seconds of the Unix process whose command line holds the
// Windows path of a program; negative when there is none. Wine answers
// GetProcessTimes for another process with its start-up times only.
double HostCpuSeconds(const std::string& windowsPath);

}  // namespace mmk_test
