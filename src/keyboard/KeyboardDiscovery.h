// Finding the keyboard's consumer-control interface among the HID interfaces.
#pragma once
#include <windows.h>
extern "C" {
#include <hidsdi.h>
}

// Opens the first interface that passes CheckKeyboardIdentity and stores it
// in KeyboardDevice; when there is none, the first standard keyboard's
// consumer-control interface, whose preparsed data is then held in
// KeyboardDevice until ReleaseKeyboardDecoding. False (and a NULL handle)
// when there is neither.
bool FindKeyboard();
// The consumer-control interface of one of the maker's models, opened, with
// its report lengths; NULL when none is plugged in. Touches no KeyboardDevice
// field, so a keyboard being read goes on being read meanwhile.
HANDLE FindMakerKeyboard(USHORT* inputReportLength, USHORT* outputReportLength);
// Stores what FindMakerKeyboard found as the keyboard, as a search that found
// it would; the keyboard before it must be closed.
void UseMakerKeyboard(HANDLE device, USHORT inputReportLength, USHORT outputReportLength);
// Frees a standard keyboard's preparsed data; call once no reader decodes
// with it any more.
void ReleaseKeyboardDecoding();
// The interface at a 0-based index, opened for reading and writing; NULL when
// there is none at that index or it cannot be opened.
HANDLE OpenHidInterface(const GUID* classGuid, DWORD index);
// True for the keyboard's consumer-control collection; writes both report
// lengths whenever the capabilities could be read.
bool CheckKeyboardIdentity(HANDLE device, PHIDP_PREPARSED_DATA* preparsedData,
                           USHORT* inputReportLength, USHORT* outputReportLength);
