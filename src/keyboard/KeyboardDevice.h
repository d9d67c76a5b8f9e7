// KeyboardDevice: the open keyboard interface of the maker's models, shared
// by discovery (UI thread) and the report reader thread.
#pragma once
#include <windows.h>
#include <atomic>
extern "C" {
#include <hidsdi.h>
}

// The longest input report of each kind of keyboard, report-ID byte first.
// An interface whose input report is longer is refused by discovery, so no
// read or zeroing can overrun the buffer.
const USHORT kMakerReportLimit = 6;
const USHORT kStandardReportLimit = 64;
const USHORT kReportBufferSize = kStandardReportLimit;

enum class KeyboardKind : int {
    kMaker,     // one of the maker's four models: its report is the KeyCode's bitmap
    kStandard,  // other consumer-control collections, read by the standard readers
                // (StandardReaders.h): their reports hold usages
};

struct KeyboardDeviceRecord {
    std::atomic<bool> open;               // set from FindKeyboard; cleared by the reader whose read
                                          // fails (of standard readers, the last one)
    BYTE reportBuffer[kReportBufferSize];
    USHORT outputReportLength;
    std::atomic<USHORT> inputReportLength;
    std::atomic<HANDLE> handle;           // NULL when no interface is open
    std::atomic<KeyboardKind> kind;       // of the keyboard the last search found
};

extern KeyboardDeviceRecord KeyboardDevice;
