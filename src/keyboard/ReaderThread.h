// The report reader: a worker thread that reads the keyboard's input reports
// and posts each one to a window as WM_KEYBOARD_KEYS with its KeyCode.
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

DWORD WINAPI ReaderThreadProc(LPVOID target);

// Starts a reader for the window; an earlier reader is retired first, so that
// at most one reads the device. False when the thread could not be created.
bool StartReaderThread(HWND window);
// Ends the current reader, if any, and closes its handle.
void RetireReaderThread();
