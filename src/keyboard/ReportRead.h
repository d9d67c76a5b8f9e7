// One input report, read so that another thread can end the wait: every
// reader reads this way.
#pragma once
#include <windows.h>

enum class ReadResult {
    kReport,   // *bytesRead bytes are in the buffer (0: a message too long, dropped)
    kStopped,  // the stop event was set; the read is over and the buffer left alone
    kGone,     // the read failed: the keyboard was unplugged
};

// Reads one report of `length` bytes from a handle opened for overlapped
// reads, waiting on the read and the stop event together. readEvent is a
// manual-reset event of the calling thread's own.
ReadResult ReadReport(HANDLE device, HANDLE stopEvent, HANDLE readEvent, BYTE* buffer, USHORT length,
                      DWORD* bytesRead);
