#include "keyboard/ReaderThread.h"

ReaderTargetRecord ReaderTarget;
std::atomic<LONG> ReaderStopFlag;

// Placeholder until the reader lands.
DWORD WINAPI ReaderThreadProc(LPVOID) { return 0; }
bool StartReaderThread(HWND) { return false; }
void RetireReaderThread() {}
