// Finding the keyboard's consumer-control interface among the HID interfaces.
#pragma once
#include <windows.h>
extern "C" {
#include <hidsdi.h>
}

// Opens the first interface that passes CheckKeyboardIdentity and stores it
// in KeyboardDevice; false (and a NULL handle) when there is none.
bool FindKeyboard();
// The interface at a 0-based index, opened for reading and writing; NULL when
// there is none at that index or it cannot be opened.
HANDLE OpenHidInterface(const GUID* classGuid, DWORD index);
// True for the keyboard's consumer-control collection; writes both report
// lengths whenever the capabilities could be read.
bool CheckKeyboardIdentity(HANDLE device, PHIDP_PREPARSED_DATA* preparsedData,
                           USHORT* inputReportLength, USHORT* outputReportLength);
