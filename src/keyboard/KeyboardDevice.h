// KeyboardDevice: the open keyboard interface, shared by discovery (UI thread)
// and the report reader thread.
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
    kStandard,  // any other consumer-control interface: its report holds usages
};

struct KeyboardDeviceRecord {
    std::atomic<bool> open;               // set from FindKeyboard; cleared by the reader on a failed read
    BYTE reportBuffer[kReportBufferSize];
    USHORT outputReportLength;
    std::atomic<USHORT> inputReportLength;
    std::atomic<HANDLE> handle;           // NULL when no interface is open
    std::atomic<KeyboardKind> kind;       // of the keyboard the last search found
    // A standard keyboard's, held while it is open: its reports are decoded
    // with it. NULL for the maker's models, whose reports need none.
    std::atomic<PHIDP_PREPARSED_DATA> preparsedData;
};

extern KeyboardDeviceRecord KeyboardDevice;
