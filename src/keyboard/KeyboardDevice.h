// KeyboardDevice: the open keyboard interface, shared by discovery (UI thread)
// and the report reader thread.
#pragma once
#include <windows.h>
#include <atomic>

// Room for one input report, report-ID byte first. An interface whose input
// report is longer is refused by discovery, so no read or zeroing can overrun.
const USHORT kReportBufferSize = 6;

struct KeyboardDeviceRecord {
    std::atomic<bool> open;               // set from FindKeyboard; cleared by the reader on a failed read
    BYTE reportBuffer[kReportBufferSize];
    USHORT outputReportLength;
    std::atomic<USHORT> inputReportLength;
    std::atomic<HANDLE> handle;           // NULL when no interface is open
};

extern KeyboardDeviceRecord KeyboardDevice;
