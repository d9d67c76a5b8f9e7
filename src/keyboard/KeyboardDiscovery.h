// Finding the keyboard's consumer-control interface among the HID interfaces.
#pragma once
#include <windows.h>
extern "C" {
#include <hidsdi.h>
}

// Opens the first interface that passes CheckKeyboardIdentity and stores it
// in KeyboardDevice; when there is none, every standard keyboard's
// consumer-control collection with Consumer buttons has been handed to the
// standard readers (StandardReaders.h), and the kind is kStandard.
// False (and a NULL handle) when there is neither.
bool FindKeyboard();
// The search while standard collections are read: the maker's model's
// consumer-control interface, opened, with its report lengths, or NULL when
// none is plugged in. Then the standard collections not read yet have been
// handed to the standard readers. Touches no KeyboardDevice field, and never
// opens a collection being read, so the keyboards being read go on meanwhile.
HANDLE SearchWhileStandardRead(USHORT* inputReportLength, USHORT* outputReportLength);
// Stores what SearchWhileStandardRead found as the keyboard, as a search
// that found it would; the keyboards before it must be closed.
void UseMakerKeyboard(HANDLE device, USHORT inputReportLength, USHORT outputReportLength);
// The interface at a 0-based index, opened for reading and writing; NULL when
// there is none at that index or it cannot be opened.
HANDLE OpenHidInterface(const GUID* classGuid, DWORD index);
// True for the keyboard's consumer-control collection; writes both report
// lengths whenever the capabilities could be read.
bool CheckKeyboardIdentity(HANDLE device, PHIDP_PREPARSED_DATA* preparsedData,
                           USHORT* inputReportLength, USHORT* outputReportLength);
