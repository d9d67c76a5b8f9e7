// The report reader of the maker's models: a worker thread that reads the
// keyboard's input reports into the KeyboardDevice record and posts each
// one's KeyCode to a window.
#pragma once
#include <windows.h>
#include <atomic>

struct ReaderTargetRecord {
    std::atomic<HWND> window;
    std::atomic<UINT> message;
};
// Where every reader posts, the standard keyboards' too.
extern ReaderTargetRecord ReaderTarget;

// 0 = run, non-zero = stop.
extern std::atomic<LONG> ReaderStopFlag;

// The reader thread's identifier, as CreateThread gave it.
extern DWORD ReaderThreadId;

// The key bits of one report: bytes 1 to length - 1, byte 1 most significant,
// the report-ID byte left out; 0 means all keys are released.
DWORD PackKeyCode(const BYTE* report, USHORT length);

// Posts a KeyCode to the target (WPARAM 0, LPARAM the KeyCode).
void PostKeyCode(DWORD keyCode);

DWORD WINAPI ReaderThreadProc(LPVOID target);

// Starts a reader that posts message to the window; an earlier reader is
// ended first, so that at most one reads the record. False when the thread
// could not be created.
bool StartReaderThread(HWND window, UINT message);
// Ends the current reader, if any, and waits until it has: from then on
// nothing reads the record's handle or writes its report buffer.
void StopReaderThread();
