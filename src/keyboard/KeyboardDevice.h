// KeyboardDevice: the open keyboard interface, shared by discovery (UI thread)
// and the report reader thread.
#pragma once
#include <windows.h>
#include <atomic>

struct KeyboardDeviceRecord {
    std::atomic<bool> open;               // set from FindKeyboard; cleared by the reader on a failed read
    BYTE reportBuffer[6];                 // one input report, report-ID byte first
    USHORT outputReportLength;
    std::atomic<USHORT> inputReportLength;
    std::atomic<HANDLE> handle;           // NULL when no interface is open
};

extern KeyboardDeviceRecord KeyboardDevice;
