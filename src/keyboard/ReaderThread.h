// The report reader: a worker thread that reads the keyboard's input reports
// and posts each one's KeyCode to a window.
#pragma once
#include <windows.h>
#include <atomic>

struct ReaderTargetRecord {
    std::atomic<HWND> window;
    std::atomic<UINT> message;
};
extern ReaderTargetRecord ReaderTarget;

// 0 = run, non-zero = stop.
extern std::atomic<LONG> ReaderStopFlag;

// The reader thread's identifier, as CreateThread gave it.
extern DWORD ReaderThreadId;

// The key bits of one report: bytes 1 to length - 1, byte 1 most significant,
// the report-ID byte left out; 0 means all keys are released.
DWORD PackKeyCode(const BYTE* report, USHORT length);

DWORD WINAPI ReaderThreadProc(LPVOID target);

// Starts a reader that posts message (WPARAM 0, LPARAM the KeyCode) to the
// window; an earlier reader is retired first, so that at most one reads the
// device. False when the thread could not be created.
bool StartReaderThread(HWND window, UINT message);
// Ends the current reader, if any, and closes its thread handle, and the
// device handle given (NULL: none), which ends a read still blocked on it.
// A reader that does not end is waited for briefly, then left to end by
// itself after its read; the result says whether it ended.
bool RetireReaderThread(HANDLE device);
